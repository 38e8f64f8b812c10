#include "core/DevPanel.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include "core/TForm1.h"
#include "devtools/DevTools.h"
#include "platform/SettingsStore.h"
#include "script/Interpreter.h"

namespace zk {

namespace {

constexpr const char* kDbgSection = "DBG";
constexpr int kMaxWatches = 100;  // "Watch%02d" keeps two digits

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string WatchKey(int n) {
  char key[16];
  std::snprintf(key, sizeof key, "Watch%02d", n);
  return key;
}

}  // namespace

bool WatchValue(const EngineState& s, const std::string& name, std::string& value) {
  if (name.size() < 2 || name.size() > 5) return false;
  long n = 0;
  for (size_t i = 1; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    n = n * 10 + (name[i] - '0');
  }
  switch (name[0]) {
    case 'E':
      if (n >= 1024) return false;
      value = s.Vars.E.Test(n) ? "1" : "0";
      return true;
    case 'F':
      if (n >= 1024) return false;
      value = s.Vars.F.Test(n) ? "1" : "0";
      return true;
    case 'S':
      if (n >= 1000) return false;
      value = std::to_string(s.Vars.S(static_cast<int>(n)));
      return true;
    case 'V':
      if (n >= 1000) return false;
      value = std::to_string(s.Vars.V(static_cast<int>(n)));
      return true;
    default:
      return false;
  }
}

bool DevPanel::DeveloperBuild() {
  const char* env = std::getenv("ZK_DEVELOPER");
  return env && std::strcmp(env, "1") == 0;
}

void DevPanel::SetFilePath(std::string path) {
  path_ = std::move(path);
  pathSet_ = true;
}

void DevPanel::ResolvePath(TForm1& f) {
  if (pathSet_) return;
  pathSet_ = true;
  // Beside the settings file, when the settings live in one.
  std::string settings = f.Game.SettingsPath;
  if (settings.empty()) {
    if (auto* ini = dynamic_cast<platform::IniSettingsStore*>(f.Settings.get()))
      settings = ini->Path();
  }
  if (!settings.empty())
    path_ = (std::filesystem::path(settings).parent_path() / "dbg.ini").string();
}

void DevPanel::Load(TForm1& f) {
  if (loaded_) return;
  loaded_ = true;
  ResolvePath(f);
  if (path_.empty()) return;
  platform::IniSettingsStore dbg(path_, kDbgSection);
  EditEnabled = dbg.ReadInt("DBG_EDIT_ENA", 0) != 0;
  Watches.clear();
  const int count = dbg.ReadInt("WatchCount", 0);
  for (int i = 0; i < count && i < kMaxWatches; ++i) {
    std::string name = Upper(dbg.ReadText(WatchKey(i), ""));
    if (!name.empty()) Watches.push_back({name, "", ""});
  }
}

void DevPanel::WriteWatches() {
  if (path_.empty()) return;
  platform::IniSettingsStore dbg(path_, kDbgSection);
  dbg.WriteInt("WatchCount", static_cast<int32_t>(Watches.size()));
  for (size_t i = 0; i < Watches.size(); ++i)
    dbg.WriteText(WatchKey(static_cast<int>(i)), Watches[i].Name);
}

void DevPanel::RefreshWatches(TForm1& f) {
  for (WatchItem& w : Watches) {
    std::string value;
    if (WatchValue(f.State, w.Name, value)) w.Value = value;
  }
}

std::string DevPanel::TraceLine(const TForm1& f) const {
  if (!f.State.Shell.TraceMode) return {};
  const InterpreterState& in = f.State.Interp;
  return "Trace " + std::to_string(in.LineStart) + ": " + DescribeLine(in.LineBuffer);
}

void DevPanel::Button1Click(TForm1& f) {
  if (!EditEnabled) return;
  InterpreterState& in = f.State.Interp;
  in.ScriptRunning = false;
  const int32_t offset = in.LineStart;
  const int32_t chosen = RunScriptEditor(f, offset);
  if (chosen != offset && chosen >= 0 && chosen < in.ScriptSize) {
    ResetPageText(f);
    in.ScriptPos = chosen;
    in.NeedLine = true;
  }
  in.ScriptRunning = true;
}

void DevPanel::Button2Click(TForm1& f) {
  ShowVariableEditor(f);
}

void DevPanel::Button3Click(TForm1& f) {
  std::string chosen;
  if (!RunScriptSelector(f, chosen) || chosen.empty()) return;
  InterpreterState& in = f.State.Interp;
  in.CallDepth = 0;
  std::snprintf(in.CurrentScript, sizeof in.CurrentScript, "%s", chosen.c_str());
  LoadAndStartScript(f, in.CurrentScript);
}

void DevPanel::Button4Click(TForm1& f) {
  Load(f);
  const std::string name = Upper(Edit1);
  if (name.empty() || Watches.size() >= kMaxWatches) return;
  Watches.push_back({name, "", ""});
  WriteWatches();
}

void DevPanel::Button5Click(TForm1& f) {
  Load(f);
  if (Selected < 0 || Selected >= static_cast<int>(Watches.size())) return;
  Watches.erase(Watches.begin() + Selected);
  Selected = -1;
  // The file follows the list, so a deleted item stays deleted.
  WriteWatches();
}

void DevPanel::CheckBox1Click(TForm1& f, bool on) {
  Load(f);
  RealTimeWatch = on;
}

void DevPanel::CheckBox2Click(TForm1& f, bool on) {
  f.State.Shell.TraceMode = on;
}

void DevPanel::CheckBox3Click(TForm1& f, bool on) {
  Load(f);
  EditEnabled = on;
  if (!path_.empty()) platform::IniSettingsStore(path_, kDbgSection).WriteInt("DBG_EDIT_ENA", on);
}

void DevPanel::Open(TForm1& f) {
  Load(f);
  RefreshWatches(f);
  auto check = [](bool on, const char* caption) {
    return std::string(on ? "[x] " : "[ ] ") + caption;
  };
  std::vector<platform::MenuItem> items = {
      {"Script Editor", EditEnabled, true},
      {"Flag Editor", true, true},
      {"Script Selector", true, true},
      {check(f.State.Shell.TraceMode, "Trace Mode"), true, true},
      {check(EditEnabled, "編集有効"), true, true},
      {check(RealTimeWatch, "RealTime Watcher Enable"), true, true},
  };
  // The trace and the watch list, shown as rows that cannot be chosen.
  if (std::string trace = TraceLine(f); !trace.empty()) items.push_back({trace, false, true});
  for (const WatchItem& w : Watches) items.push_back({w.Name + "  " + w.Value, false, true});
  switch (f.Plat.ui->PopupMenu(items, 0, 0)) {
    case 0:
      Button1Click(f);
      break;
    case 1:
      Button2Click(f);
      break;
    case 2:
      Button3Click(f);
      break;
    case 3:
      CheckBox2Click(f, !f.State.Shell.TraceMode);
      break;
    case 4:
      CheckBox3Click(f, !EditEnabled);
      break;
    case 5:
      CheckBox1Click(f, !RealTimeWatch);
      break;
    default:
      break;
  }
}

platform::DevPanelSnapshot DevPanel::Snapshot(const TForm1& f) const {
  platform::DevPanelSnapshot s;
  s.editEnabled = EditEnabled;
  s.traceMode = f.State.Shell.TraceMode;
  s.realTimeWatch = RealTimeWatch;
  s.edit1 = Edit1;
  s.selected = Selected;
  s.watches.reserve(Watches.size());
  for (const WatchItem& w : Watches) s.watches.push_back({w.Name, w.Value, w.Condition});
  return s;
}

void DevPanel::Sync(TForm1& f) {
  platform::DevPanelView* view = f.Plat.devPanel;
  if (!view) return;
  Load(f);
  platform::DevPanelSnapshot now = Snapshot(f);
  // The panel redraws on every snapshot, so an unchanged one is not sent.
  if (shown_ && now == last_) return;
  shown_ = true;
  last_ = std::move(now);
  view->Show(last_);
}

void DevPanel::HandleAction(TForm1& f, const platform::Event& e) {
  using platform::DevPanelAction;
  // The tools move the interpreter; not under a running effect, whose loop
  // is still on the stack when the pump delivers a click.
  const bool toolsAllowed = !f.State.Mode.EffectRunning;
  switch (platform::DevPanelActionOf(e)) {
    case DevPanelAction::None:
      return;
    case DevPanelAction::ScriptEditor:
      if (toolsAllowed) Button1Click(f);
      break;
    case DevPanelAction::FlagEditor:
      if (toolsAllowed) Button2Click(f);
      break;
    case DevPanelAction::ScriptSelector:
      if (toolsAllowed) Button3Click(f);
      break;
    case DevPanelAction::AddWatch:
      Button4Click(f);
      break;
    case DevPanelAction::DeleteWatch:
      Button5Click(f);
      break;
    case DevPanelAction::RealTimeWatch:
      CheckBox1Click(f, e.x != 0);
      break;
    case DevPanelAction::TraceMode:
      CheckBox2Click(f, e.x != 0);
      break;
    case DevPanelAction::EditEnable:
      CheckBox3Click(f, e.x != 0);
      break;
    case DevPanelAction::EditText:
      Edit1 = e.text;
      break;
    case DevPanelAction::SelectWatch:
      Selected = e.x >= 0 && e.x < static_cast<int>(Watches.size()) ? e.x : -1;
      break;
  }
  Sync(f);
}

// The watch list follows the variables every 16 timer ticks while enabled.
// A platform panel gets its first picture at the first tick, once start-up
// has placed the settings file.
void WatchPanelRefresh(TForm1& f) {
  DevPanel& d = f.Dev;
  if (f.Plat.devPanel && !d.Shown()) d.Sync(f);
  if ((f.State.Shell.TickCounter & 15) != 0 || !d.RealTimeWatch) return;
  d.RefreshWatches(f);
  d.Sync(f);
}

}  // namespace zk
