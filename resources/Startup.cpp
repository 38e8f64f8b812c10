#include "resources/Startup.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/Sjis.h"

namespace zk {

namespace {

using PS = PersistedSettings;
using IntRef = int32_t& (*)(PS&);
using TextRef = std::string& (*)(PS&);
using IntDefault = int32_t (*)(const GameDefinition&, const SettingsEnvironment&);
using TextDefault = std::string (*)(const GameDefinition&);

struct Value {
  const char* name;
  IntRef intRef = nullptr;
  TextRef textRef = nullptr;
  IntDefault intDefault = nullptr;    // null: the member's initial value
  TextDefault textDefault = nullptr;  // null: the member's initial value
  bool sjis = false;                  // held as Shift-JIS, stored as UTF-8
};

#define ZK_INT(n) Value{#n, [](PS& s) -> int32_t& { return s.n; }}
#define ZK_INT_D(n, d) \
  Value{#n, [](PS& s) -> int32_t& { return s.n; }, nullptr, [](const GameDefinition& g, const SettingsEnvironment& e) -> int32_t { (void)g; (void)e; return d; }}
#define ZK_GV(k) Value{"GV0" #k, [](PS& s) -> int32_t& { return s.GV[k]; }}
#define ZK_TEXT_D(n, d)                                                                \
  Value{#n, nullptr, [](PS& s) -> std::string& { return s.n; }, nullptr,            \
        [](const GameDefinition& g) -> std::string { return g.d; }, true}

// In the order they are read at start-up.
const Value kValues[] = {
    Value{"CDDir", nullptr, [](PS& s) -> std::string& { return s.CDDir; }},
    ZK_INT_D(Left, (e.ScreenWidth - e.WindowWidth) / 2),
    ZK_INT_D(Top, (e.ScreenHeight - e.WindowHeight) / 2),
    ZK_INT(BGM_ENA),
    ZK_INT(SE_ENA),
    ZK_INT(Delay),
    ZK_INT(GMode),
    ZK_INT(SMode),
    ZK_INT(Clear),
    ZK_INT(Seen),
    ZK_INT(BreakonSelect),
    ZK_INT(MemorySaveMode),
    ZK_TEXT_D(FontName, FONT_NAME),
    ZK_INT(DirectSoundGlobal),
    ZK_INT(AnimQuality),
    ZK_INT(RC_MODE),
    ZK_INT(WHEEL_MODE),
    ZK_INT(CS_SWAP),
    ZK_INT(EFX_CUT),
    ZK_INT(CONFIG_MODE),
    ZK_INT(DatePanel),
    ZK_INT(TXWStyle),
    ZK_INT(CV_THROUGH),
    ZK_INT(CV1),
    ZK_INT(CV2),
    ZK_INT(SE0),
    ZK_INT(SE1),
    ZK_INT(SE2),
    ZK_INT(SE3),
    ZK_INT(SE4),
    ZK_INT_D(Vol1, g.VOLUME1),
    ZK_INT_D(Vol2, g.VOLUME2),
    ZK_INT_D(Vol3, g.VOLUME3),
    ZK_INT_D(Vol4, g.VOLUME4),
    ZK_INT(FONTAA),
    ZK_INT(FONTSIZE),
    ZK_INT(FONTBold),
    ZK_TEXT_D(PlayerName, DEFAULT_NAME),
    ZK_TEXT_D(PlayerName2, DEFAULT_NAME2),
    ZK_INT(LastSaveSlot),
    ZK_GV(0),
    ZK_GV(1),
    ZK_GV(2),
    ZK_GV(3),
    ZK_GV(4),
    ZK_GV(5),
    ZK_GV(6),
    ZK_GV(7),
    ZK_GV(8),
    ZK_GV(9),
    ZK_INT_D(TXBG_R, g.TXW_COLOR_R),
    ZK_INT_D(TXBG_G, g.TXW_COLOR_G),
    ZK_INT_D(TXBG_B, g.TXW_COLOR_B),
    ZK_INT_D(TXBG_A, g.TXW_ALPHA),
    ZK_INT_D(TXBG_A2, g.TXW_ALPHA2),
    // The seloop variant offsets, default 0.
    ZK_INT(SE_LVL0),
    ZK_INT(SE_LVL1),
    ZK_INT(SE_LVL2),
    ZK_INT(SE_LVL3),
    ZK_INT(SE_LVL4),
};
#undef ZK_INT
#undef ZK_INT_D
#undef ZK_GV
#undef ZK_TEXT_D

// Marks a text value the store does not hold (no stored text contains it).
constexpr const char* kAbsent = "\x01\x02";

const Value* FindValue(std::string_view name) {
  for (const Value& v : kValues)
    if (name == v.name) return &v;
  return nullptr;
}

// Copies Shift-JIS text into a string variable: at most 63 bytes, keeping a
// double-byte character whole.
void CopyString(char (&dst)[kStringSize], const std::string& text) {
  size_t len = 0;
  while (len < text.size() && text[len] != '\0' && len < kStringSize - 1) {
    const size_t step = IsSjisLead(static_cast<unsigned char>(text[len])) ? 2 : 1;
    if (len + step > kStringSize - 1 || len + step > text.size()) break;
    len += step;
  }
  std::memcpy(dst, text.data(), len);
  std::memset(dst + len, 0, kStringSize - len);
}

std::string PathPart(std::string_view sjis) {
  std::string part = SjisToUtf8(sjis);
  for (char& c : part)
    if (c == '/' || c == '\\') c = '_';
  return part;
}

}  // namespace

// ============================================================ [SECTION] Persisted settings

std::vector<std::string> PersistedSettingNames() {
  std::vector<std::string> names;
  for (const Value& v : kValues) names.emplace_back(v.name);
  return names;
}

void ReadPersistedSettings(platform::SettingsStore& store, const GameDefinition& def,
                           const SettingsEnvironment& env, PersistedSettings& out) {
  const std::string cdDir = out.CDDir;
  out = PersistedSettings{};
  out.CDDir = cdDir;
  for (const Value& v : kValues) {
    if (v.textRef == nullptr) {
      int32_t& field = v.intRef(out);
      const int32_t def0 = v.intDefault ? v.intDefault(def, env) : field;
      field = store.ReadInt(v.name, def0);
      continue;
    }
    if (std::string_view(v.name) == "CDDir") continue;
    std::string& field = v.textRef(out);
    const std::string def0 = v.textDefault ? v.textDefault(def) : field;
    const std::string stored = store.ReadText(v.name, kAbsent);
    if (stored == kAbsent) {
      field = def0;
    } else if (!v.sjis) {
      field = stored;
    } else if (!Utf8ToSjis(stored, field)) {
      field = def0;  // a name the engine cannot hold
    }
  }
  if (out.SMode == 0 && env.ScreenWidth <= 600) out.SMode = 2;
  if (def.CFG_GRA[0].empty() || def.CFG_GRA[1].empty()) out.CONFIG_MODE = 1;
}

bool WriteSetting(platform::SettingsStore& store, const PersistedSettings& settings,
                  std::string_view name) {
  const Value* v = FindValue(name);
  if (!v) return false;
  // The table's accessors take a mutable object; nothing is changed here.
  PersistedSettings& s = const_cast<PersistedSettings&>(settings);
  if (v->intRef) {
    store.WriteInt(v->name, v->intRef(s));
  } else {
    const std::string& text = v->textRef(s);
    store.WriteText(v->name, v->sjis ? SjisToUtf8(text) : text);
  }
  return true;
}

// ============================================================ [SECTION] Where the settings live

std::string DefaultConfigRoot() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/zelkor";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/zelkor";
  return ".config/zelkor";
}

std::string SettingsFilePath(const std::string& configRoot, std::string_view makerReg,
                             std::string_view gameId) {
  std::filesystem::path path(configRoot);
  // Split the key path at backslashes and slashes, byte by byte but never
  // inside a double-byte character (whose second byte may be 0x5C).
  std::string part;
  auto flush = [&] {
    if (!part.empty() && part != "." && part != "..") path /= PathPart(part);
    part.clear();
  };
  for (size_t i = 0; i < makerReg.size(); ++i) {
    const char c = makerReg[i];
    if (IsSjisLead(static_cast<unsigned char>(c)) && i + 1 < makerReg.size()) {
      part += c;
      part += makerReg[++i];
    } else if (c == '\\' || c == '/') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  const std::string id = PathPart(gameId);
  const bool usable = !id.empty() && id != "." && id != "..";
  path /= (usable ? id : std::string(1, '_')) + ".ini";
  return path.string();
}

// ============================================================ [SECTION] The start-up sequence

std::string RunStartup(StartupContext& ctx, StartupTarget target, GameData& data,
                       std::unique_ptr<platform::SettingsStore>& store, StartupHost& host) {
  Banks& vars = target.Vars;
  std::string message;
  auto fail = [&](const std::string& detail) {
    message = kGameDataError;
    if (!detail.empty()) message += "\n" + detail;
    if (ctx.Ui)
      ctx.Ui->MessageBox(message, "Error!", platform::MsgButtons::Ok, platform::MsgIcon::Error);
    target.Mode.QuitRequested = true;
  };

  // The system cells and the sound device.
  for (int i = 0; i < kSysMemoryOnly; ++i) vars.S(i) = 0;
  host.DetectSoundOutput();

  // The script archives.
  const bool found = FileExists((std::filesystem::path(ctx.GameDir) / "zk_data.zlk").string());
  if (!found) fail("");
  data.Arc.OpenScripts(ctx.GameDir);

  // The game definition.
  data.Def = GameDefinition{};
  std::vector<uint8_t> config;
  if (data.Arc.ReadScript("_config", config)) {
    std::vector<ConfigProblem> problems;
    if (!ParseGameDefinition(config, data.Def, &problems) && !target.Mode.QuitRequested) {
      std::string detail = "_config:";
      for (const ConfigProblem& p : problems) detail += "\n" + p.Message;
      fail(detail);
    }
  }

  // The settings store, the fallback folder and the caption.
  data.SettingsPath.clear();
  if (!store) {
    const std::string root = ctx.ConfigRoot.empty() ? DefaultConfigRoot() : ctx.ConfigRoot;
    data.SettingsPath = SettingsFilePath(root, data.Def.MAKER_REG, data.Def.GAME_ID);
    store = std::make_unique<platform::IniSettingsStore>(data.SettingsPath,
                                                         PathPart(data.Def.GAME_ID));
  }
  data.Settings.CDDir = store->ReadText("CDDir", "NULL");
  if (ctx.Display) ctx.Display->SetTitle(SjisToUtf8(data.Def.TITLE));

  // Every other setting.
  SettingsEnvironment env;
  if (ctx.Display) ctx.Display->GetDesktopSize(env.ScreenWidth, env.ScreenHeight);
  PersistedSettings& s = data.Settings;
  ReadPersistedSettings(*store, data.Def, env, s);
  if (ctx.Display) ctx.Display->SetWindowPos(s.Left, s.Top);
  target.Shell.DisplayMode = static_cast<DisplayMode>(s.SMode);
  target.Player.TextSpeedOn = s.Delay == 0;
  target.Player.GMode = s.GMode;
  target.Player.SkipReadOnly = s.Seen != 0;
  target.Player.StopAtChoice = s.BreakonSelect != 0;
  target.Player.RightClickAction = static_cast<RightClickAction>(s.RC_MODE);
  target.Player.WheelAction = static_cast<WheelAction>(s.WHEEL_MODE);
  target.Player.SwapCtrlShift = s.CS_SWAP != 0;
  target.Player.SkipCutsEffects = s.EFX_CUT != 0;
  target.Player.KeepVoiceOnClick = s.CV_THROUGH != 0;
  const int32_t groups[5] = {s.SE0, s.SE1, s.SE2, s.SE3, s.SE4};
  const int32_t levels[5] = {s.SE_LVL0, s.SE_LVL1, s.SE_LVL2, s.SE_LVL3, s.SE_LVL4};
  for (int i = 0; i < 5; ++i) {
    target.Player.SeGroup[i] = groups[i];
    target.Player.SeLevel[i] = levels[i];
  }
  for (int i = 0; i < 10; ++i) vars.G(i) = s.GV[i];
  vars.S(kSysDatePanel) = s.DatePanel;
  vars.S(kSysWindowStyle) = s.TXWStyle;

  // Font, surfaces, the other archives, name plates, message window, system
  // pictures.
  host.CreateMessageFont();
  host.CreateSurfaces();
  data.Arc.OpenOthers(s.CDDir, GatesOf(data.Def));
  host.LoadNamePlates();
  host.CreateMessageWindow();
  host.LoadSystemPictures();

  // Per-scene state, banks, global data, backlog.
  host.ResetSceneState();
  for (int i = 0; i < 1000; ++i) vars.V(i) = 0;
  vars.F.ClearAll();
  vars.T.ClearAll();
  vars.S(kSysClearCount) = s.Clear;
  host.LoadGlobalData();
  host.ClearBacklog();

  // The initial system cells.
  vars.S(kSysSavePermission) = 3;
  vars.S(kSysMusicPlaying) = 0;
  vars.S(kSysStartupMark) = 8;
  vars.S(kSysOverlayOrder) = 250;
  vars.S(kSysOverlayX) = 550;
  vars.S(kSysLastAutoDelay) = 5;
  vars.S(kSysManpuX) = 520;
  vars.S(kSysManpuY) = 30;
  vars.S(kSysTextColour) = 0xFFFFFF;
  host.RefreshMenus();
  host.InitTextColour();
  // The character positions the effect initialisation also sets.
  const int32_t xs[10] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
  for (int i = 0; i < 10; ++i) {
    vars.S(kSysPositions + i) = xs[i];
    vars.S(kSysPositionsY + i) = 0;
  }
  host.InitEffects();
  for (int i = kSysFullScreenText; i <= kSysChoiceReplayIndex; ++i) vars.S(i) = 0;
  vars.S(kSysManpu) = 0;

  // String variables and the player names, then the other screens.
  for (auto& str : vars.Strings) std::memset(str, 0, kStringSize);
  CopyString(vars.Strings[0], s.PlayerName);
  CopyString(vars.Strings[1], s.PlayerName2);
  vars.S(kSysSetNameResult) =
      (s.PlayerName != data.Def.DEFAULT_NAME || s.PlayerName2 != data.Def.DEFAULT_NAME2) ? 1 : 0;
  host.ClearObjects();
  host.PrepareCgViewer();
  host.PrepareRecollection();
  host.PrepareMapScreen();

  target.Mode.StartPending = true;
  return message;
}

}  // namespace zk
