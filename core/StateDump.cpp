#include "core/StateDump.h"

#include <cstdio>
#include <cstring>

#include "base/Sjis.h"
#include "core/TForm1.h"
#include "script/Script.h"

namespace zk {

void JsonWriter::Separate() {
  if (needComma_) out_ += ',';
  needComma_ = false;
}
void JsonWriter::Key(const char* name) {
  Separate();
  String(name);
  out_ += ':';
  needComma_ = false;
}
void JsonWriter::Int(long long v) {
  Separate();
  out_ += std::to_string(v);
  needComma_ = true;
}
void JsonWriter::Bool(bool v) {
  Separate();
  out_ += v ? "true" : "false";
  needComma_ = true;
}
void JsonWriter::String(const std::string& s) {
  Separate();
  out_ += '"';
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out_ += buf;
    } else {
      out_ += static_cast<char>(c);
    }
  }
  out_ += '"';
  needComma_ = true;
}
void JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
}
void JsonWriter::EndObject() {
  out_ += '}';
  needComma_ = true;
}
void JsonWriter::BeginArray() {
  Separate();
  out_ += '[';
}
void JsonWriter::EndArray() {
  out_ += ']';
  needComma_ = true;
}

namespace {

template <typename Bank>
void BitList(JsonWriter& j, const char* name, const Bank& bank) {
  j.Key(name);
  j.BeginArray();
  for (long n = 0; n < Bank::kSize; ++n)
    if (bank.Test(n)) j.Int(n);
  j.EndArray();
}

void Cells(JsonWriter& j, const char* name, const int32_t* cells, int count) {
  j.Key(name);
  j.BeginArray();
  for (int i = 0; i < count; ++i) j.Int(cells[i]);
  j.EndArray();
}

std::string Field(const char* bytes, size_t size) {
  return SjisToUtf8(std::string(bytes, strnlen(bytes, size)));
}

// A mode shows as the number it is stored as.
template <typename Mode>
long long ModeNumber(Mode mode) {
  return static_cast<int32_t>(mode);
}

}  // namespace

std::string DumpStateJson(const TForm1& f) {
  const EngineState& s = f.State;
  JsonWriter j;
  j.BeginObject();
  j.Key("time_ms");
  j.Int(f.Plat.clock->NowMs());
  Cells(j, "V", s.Vars.Cells + kCellV, 1000);
  Cells(j, "S", s.Vars.Cells + kCellS, 1000);
  Cells(j, "G", s.Vars.Cells + kCellG, 10);
  BitList(j, "F", s.Vars.F);
  BitList(j, "E", s.Vars.E);
  BitList(j, "T", s.Vars.T);
  BitList(j, "CG", s.Vars.CG);
  BitList(j, "scene", s.Vars.Scene);
  BitList(j, "ReadMarks", s.Vars.ReadMarks);
  j.Key("strings");
  j.BeginArray();
  for (int i = 0; i < kStringCount; ++i) j.String(Field(s.Vars.Strings[i], kStringSize));
  j.EndArray();

  const ModeState& m = s.Mode;
  const WaitState& w = s.Wait;
  const std::pair<const char*, long long> scalars[] = {
      {"ScreenMode", ModeNumber(m.ScreenMode)},
      {"ChoiceMode", ModeNumber(m.ChoiceMode)},
      {"ChoiceCount", m.ChoiceCount},
      {"ChoiceHover", m.ChoiceHover},
      {"DialogKind", ModeNumber(m.DialogKind)},
      {"SkipMode", ModeNumber(m.SkipMode)},
      {"EffectAbort", ModeNumber(m.EffectAbort)},
      {"ReplayKind", ModeNumber(m.ReplayKind)},
      {"WaitTicks", w.WaitTicks},
      {"SleepFrames", w.SleepFrames},
      {"ClickWait", ModeNumber(w.ClickWait)},
      {"AutoCountdown", w.AutoCountdown},
      {"ClickDebounce", w.ClickDebounce},
      {"CharDelay", w.CharDelay},
      {"AutoDelay", s.AutoDelay()},
      {"DisplayMode", ModeNumber(s.Shell.DisplayMode)},
      {"FullScreenActive", s.Shell.FullScreenActive},
      {"IdleCounter", s.Shell.IdleCounter},
      {"TickCounter", s.Shell.TickCounter},
  };
  for (const auto& [name, value] : scalars) {
    j.Key(name);
    j.Int(value);
  }
  const std::pair<const char*, bool> flags[] = {
      {"BacklogOpen", m.BacklogOpen},     {"InputLock", m.InputLock},
      {"EffectRunning", m.EffectRunning}, {"QuitRequested", m.QuitRequested},
      {"StartPending", m.StartPending},   {"WindowShown", m.WindowShown},
      {"WaitForVoice", w.WaitForVoice},   {"PageFinish", w.PageFinish},
      {"ScriptRunning", s.Interp.ScriptRunning}, {"NeedLine", s.Interp.NeedLine},
      {"ScriptFinished", ScriptFinished(f)},
  };
  for (const auto& [name, value] : flags) {
    j.Key(name);
    j.Bool(value);
  }

  const InterpreterState& in = s.Interp;
  j.Key("CurrentScript");
  j.String(Field(in.CurrentScript, kScriptNameSize));
  j.Key("LoadedScript");
  j.String(Field(in.LoadedScript, kScriptNameSize));
  j.Key("ScriptPos");
  j.Int(in.ScriptPos);
  j.Key("ScriptSize");
  j.Int(in.ScriptSize);
  j.Key("CallDepth");
  j.Int(in.CallDepth);
  j.Key("CallStack");
  j.BeginArray();
  for (int i = 0; i < in.CallDepth && i < kCallStackDepth; ++i) {
    j.BeginObject();
    j.Key("script");
    j.String(Field(in.CallStack[i].Script, kScriptNameSize));
    j.Key("offset");
    j.Int(in.CallStack[i].ReturnOffset);
    j.EndObject();
  }
  j.EndArray();
  j.Key("cursor");
  j.BeginArray();
  j.Int(in.Column);
  j.Int(in.Row);
  j.EndArray();
  j.Key("page");
  j.BeginArray();
  for (int r = 0; r < kPageRows; ++r) {
    // Cells never written hold NUL; show them as blanks so columns line up.
    std::string row(in.Page[r], kPageCols);
    size_t end = row.find_last_not_of('\0');
    row = end == std::string::npos ? "" : row.substr(0, end + 1);
    for (char& c : row)
      if (c == '\0') c = ' ';
    j.String(SjisToUtf8(row));
  }
  j.EndArray();
  const GraphicsState& g = f.Gfx;
  j.Key("background");
  j.String(Field(g.BackgroundName, kPictureNameSize));
  j.Key("sprites");
  j.String(Field(g.SpriteSpec, kSpriteSpecSize));
  j.Key("characters");
  j.BeginArray();
  for (int i = 0; i < g.Layout.Count && i < kLayoutPositions; ++i)
    j.String(Field(g.Layout.Names[i], kPictureNameSize));
  j.EndArray();
  j.Key("slots");
  j.BeginArray();
  for (const CharacterSlot& slot : g.Slots) j.String(Field(slot.Name, kPictureNameSize));
  j.EndArray();
  j.Key("overlay");
  j.String(Field(g.OverlaySpec, kPictureNameSize));
  j.Key("grb");
  j.Bool(g.PrepareOnly);
  j.Key("backlog");
  j.BeginArray();
  for (int i = 0; i < in.BacklogCount && i < kBacklogLines; ++i)
    j.String(Field(in.BacklogText + i * kBacklogLineSize, kBacklogLineSize));
  j.EndArray();
  j.EndObject();
  return j.Text();
}

}  // namespace zk
