// The commands the dispatcher handles itself (text mode, new game and game
// clear, read marks, waits, strings, sound name rules, choice recording) and
// the helpers that commands of other subsystems share.
#include "script/Commands.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/Audio.h"
#include "base/Bitmap.h"
#include "base/Sjis.h"
#include "core/TForm1.h"
#include "script/CommandHandlers.h"
#include "script/Interpreter.h"
#include "script/ScriptHost.h"
#include "services/Services.h"
#include "text/Text.h"

namespace zk {

namespace {
// Requests to the layers above go through the host interface.
ScriptHost& Host(TForm1& f) {
  return *f.Hosts.Script;
}
}  // namespace

// ---- Shared helpers

void StopSkipAndAuto(TForm1& f) {
  EngineState& s = f.State;
  s.Mode.SkipMode = SkipMode::Off;
  s.Vars.S(kSysQuickButton1) = 0;  // skip button
  s.SetAutoDelay(0);
  s.Vars.S(kSysQuickButton1 + 1) = 0;  // auto button
  Host(f).RedrawQuickButtons();
}

void ApplyStopAtChoice(TForm1& f) {
  if (f.State.Settings.StopAtChoice) StopSkipAndAuto(f);
}

// ---- Text mode and text state

// mode N: any N other than the current S150 flips between window and
// full-screen text mode.
StepResult CmdMode(TForm1& f, char*, char* args) {
  EngineState& s = f.State;
  s.Vars.S(kSysTextColour) = 0xFFFFFF;
  ResetTextFonts(f);
  const bool switched = std::atoi(args) != s.Vars.S(kSysFullScreenText);
  if (switched) {
    ResetTextState(s);
    s.Vars.S(kSysFullScreenText) = s.Vars.S(kSysFullScreenText) == 0 ? 1 : 0;
  }
  SwitchTextModeDisplay(f, switched);
  s.Interp.NeedLine = true;
  return kStepEnd;
}

StepResult CmdTwSet(TForm1& f, char*, char* args) {
  ResetTextState(f.State);
  f.State.Mode.WindowShown = std::atoi(args) != 0;
  return kStepContinue;
}

// cv NAME: a voice line. With changed player names a variant NAME + "X" is
// preferred when it exists.
StepResult CmdCv(TForm1& f, char*, char* args) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  std::string name(args);
  if (s.Vars.S(kSysSetNameResult) != 0 && VoiceExists(f, name + "X")) name += "X";
  AddPageVoice(in, name);
  if (s.Mode.SkipMode == SkipMode::Off) PlayVoice(f, name);
  std::snprintf(in.LastVoice, sizeof in.LastVoice, "%s", name.c_str());
  AppendBacklog(in, "@" + name);
  EndBacklogLine(in);
  return kStepContinue;
}

// ---- Game state

StepResult CmdGameinit(TForm1& f, char*, char*) {
  Banks& v = f.State.Vars;
  v.F.ClearAll();
  v.T.ClearAll();
  std::memset(v.Cells + kCellV, 0, 1000 * sizeof(int32_t));
  static constexpr int32_t kPositions[20] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
  for (int i = 0; i < 20; ++i) v.S(kSysPositions + i) = kPositions[i];
  return kStepContinue;
}

StepResult CmdGameclr(TForm1& f, char*, char*) {
  EngineState& s = f.State;
  int32_t count = s.Vars.S(kSysClearCount) + 1;
  if (f.Settings) {
    count = f.Settings->ReadInt("Clear", 0) + 1;
    f.Settings->WriteInt("Clear", count);
  }
  s.Vars.S(kSysClearCount) = count;
  s.Vars.E.Set(999);
  WriteGlobalSave(f);
  return kStepContinue;
}

StepResult CmdRec(TForm1& f, char*, char*) {
  EngineState& s = f.State;
  s.Vars.F.ClearAll();
  std::memset(s.Vars.Cells + kCellV, 0, 1000 * sizeof(int32_t));
  std::memcpy(s.Interp.RecScript, s.Interp.LoadedScript, kScriptNameSize);
  if (s.Vars.S(kSysChoiceRecord) == 2) {
    s.Vars.S(kSysChoiceReplayIndex) = 0;
  } else {
    s.Vars.S(kSysChoiceRecord) = 1;
    s.Vars.S(kSysChoiceRecordCount) = 0;
    s.Vars.S(kSysChoiceReplayIndex) = 0;
  }
  return kStepContinue;
}

StepResult CmdCgfull(TForm1& f, char*, char*) {
  const int count = CgListCount(f);
  for (int i = 0; i < count; ++i) f.State.Vars.CG.Set(i);
  return kStepEnd;
}

// mark N: text already read, or the first unread text, where skipping in
// read-only mode stops.
StepResult CmdMark(TForm1& f, char*, char* args) {
  EngineState& s = f.State;
  const long n = std::strtol(args, nullptr, 10);
  if (n < 0 || n > 80000) return kStepContinue;
  if (s.Vars.ReadMarks.Test(n)) {
    s.Wait.CurrentTextRead = true;
    return kStepContinue;
  }
  s.Vars.ReadMarks.Set(n);
  if (s.Settings.SkipReadOnly) {
    s.Wait.CurrentTextRead = false;
    s.Mode.SkipMode = SkipMode::Off;
    s.Vars.S(kSysQuickButton1) = 0;
    Host(f).RedrawQuickButtons();
  }
  return kStepContinue;
}

// ---- Strings

// string N TEXT: one digit at offset 8, the text from offset 10.
StepResult CmdString(TForm1& f, char* line, char* args) {
  const long n = std::strtol(args, nullptr, 10);
  if (n < 0 || n >= kStringCount) return kStepContinue;  // no such variable
  const size_t length = std::strlen(line);
  f.State.Vars.SetString(static_cast<int>(n), length > 10 ? line + 10 : "");
  return kStepContinue;
}

StepResult CmdStitle(TForm1& f, char*, char* args) {
  f.State.Vars.SetString(9, args);
  return kStepContinue;
}

StepResult CmdSetname(TForm1& f, char*, char*) {
  EngineState& s = f.State;
  const EffectLock lock(s.Mode, EffectLock::kInput);
  ApplyStopAtChoice(f);
  RunNameEntry(f);
  const std::string& first = f.Game.Def.DEFAULT_NAME;
  const std::string& second = f.Game.Def.DEFAULT_NAME2;
  const bool defaults = first == s.Vars.GetString(0) && second == s.Vars.GetString(1);
  s.Vars.S(kSysSetNameResult) = defaults ? 0 : 1;
  return kStepEnd;
}

// ---- Waits and modes

StepResult CmdWaitVEnd(TForm1& f, char*, char*) {
  if (WaveOutputPresent(f)) f.State.Wait.WaitForVoice = true;
  return kStepEnd;
}

StepResult CmdSleep(TForm1& f, char*, char* args) {
  EngineState& s = f.State;
  if (s.Mode.SkipMode != SkipMode::Off || s.AutoDelay() != 0) return kStepContinue;
  const int32_t frames = std::atoi(args) / 30;
  s.Wait.SleepFrames = frames == 0 ? -1 : frames;
  return kStepEnd;
}

StepResult CmdBreak(TForm1& f, char*, char*) {
  StopSkipAndAuto(f);
  return kStepEnd;
}

StepResult CmdExitgame(TForm1& f, char*, char*) {
  Host(f).Close();
  return kStepEnd;
}

StepResult CmdChgprm(TForm1&, char*, char*) {
  return kStepEnd;
}

// ---- Sound effect name rules

std::string EffectSoundName(const PlayerSettings& p, std::string_view name, bool looping) {
  std::string upper = UpperSjis(name);
  // "SEH" names with a group digit 0-4 play only when that group is on.
  if (upper.size() >= 4 && upper.compare(0, 3, "SEH") == 0 && upper[3] >= '0' && upper[3] <= '4' &&
      p.SeGroup[upper[3] - '0'] == 0)
    return {};
  // Looping sounds of group 4 have graded variants: the ninth character (1-5)
  // selects a level setting that is added to the eleventh.
  if (looping && upper.size() > 10 && upper.compare(0, 4, "SEH4") == 0 && upper[8] >= '1' &&
      upper[8] <= '5')
    upper[10] = static_cast<char>(upper[10] + p.SeLevel[upper[8] - '1']);
  return upper;
}

StepResult CmdSe(TForm1& f, char*, char* args) {
  const EngineState& s = f.State;
  if (s.Mode.SkipMode != SkipMode::Off && s.Settings.SkipCutsEffects) return kStepContinue;
  const std::string name = EffectSoundName(s.Settings, args, false);
  if (!name.empty()) PlaySound(f, name, 1);
  return kStepContinue;
}

StepResult CmdSeloop(TForm1& f, char*, char* args) {
  const std::string name = EffectSoundName(f.State.Settings, args, true);
  if (!name.empty()) PlaySound(f, name, 2);
  return kStepContinue;
}

}  // namespace zk
