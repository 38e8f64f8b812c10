// The line interpreter.
//
// [SECTION] Backlog ring and page state
// [SECTION] Character output
// [SECTION] Inline codes
// [SECTION] Text printer
// [SECTION] Line dispatch
// [SECTION] The step
// [SECTION] Line kinds and the trace
#include "script/Interpreter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/Audio.h"
#include "base/Sjis.h"
#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "script/CommandTable.h"
#include "script/Expressions.h"
#include "script/Flow.h"
#include "script/ScriptHost.h"
#include "script/Script.h"
#include "text/Backlog.h"
#include "text/Text.h"

namespace zk {

namespace {

// The printer takes any byte below 0x20 or above 0x7E as the first of two.
bool IsTextLead(unsigned char c) {
  return c < 0x20 || c > 0x7E;
}

// Shift-JIS codes of the marks the printer acts on.
constexpr unsigned kPageMark = 0x81A5;                  // ▼ page wait
constexpr unsigned kNewPageMark = 0x81A4;               // ▽ new page
constexpr unsigned kLineMark = 0x81AC;                  // 〓 line wait
constexpr unsigned kDollar = 0x8190;                    // ＄ string variable
constexpr unsigned kOpenQuote = 0x8175;                 // 「
constexpr unsigned kOpenParen = 0x8169;                 // （
constexpr char kHetare[] = "\x82\xd6\x82\xbd\x82\xea";  // へたれ

bool FullScreenText(const EngineState& s) {
  return s.Vars.S(kSysFullScreenText) != 0;
}

// The printer's registers may come from a save file: keep them inside the
// line buffer and the ring.
void SanitiseRegisters(InterpreterState& in) {
  in.LineBuffer[kLineBufferSize - 1] = '\0';
  if (in.LinePos < 0 || in.LinePos >= kLineBufferSize)
    in.LinePos = static_cast<int32_t>(std::strlen(in.LineBuffer));
  in.BacklogCount = std::clamp(in.BacklogCount, 0, kBacklogLines);
  const int32_t start = in.BacklogCount * kBacklogLineSize;
  if (in.BacklogWrite < start || in.BacklogWrite >= start + kBacklogLineSize)
    in.BacklogWrite = start;
}

}  // namespace

// ============================================================ [SECTION] Backlog ring and page
// state

void AppendBacklog(InterpreterState& in, std::string_view bytes) {
  SanitiseRegisters(in);
  const int32_t start = in.BacklogCount * kBacklogLineSize;
  const int32_t used = in.BacklogWrite - start;
  const int32_t n = static_cast<int32_t>(bytes.size());
  if (used + n > kBacklogLineSize - 1) return;
  std::memcpy(in.BacklogText + in.BacklogWrite, bytes.data(), bytes.size());
  in.BacklogWrite += n;
}

void EndBacklogLine(InterpreterState& in) {
  SanitiseRegisters(in);
  in.BacklogText[in.BacklogWrite] = '\0';
  if (in.BacklogCount >= kBacklogLines) {
    std::memmove(in.BacklogText, in.BacklogText + kBacklogLineSize,
                 kBacklogLines * kBacklogLineSize);
    in.BacklogCount = kBacklogLines;
  } else {
    ++in.BacklogCount;
  }
  in.BacklogWrite = in.BacklogCount * kBacklogLineSize;
  std::memset(in.BacklogText + in.BacklogWrite, 0, kBacklogLineSize);
}

void ResetTextState(EngineState& s) {
  InterpreterState& in = s.Interp;
  std::memset(in.Page, 0, sizeof in.Page);
  std::memset(in.PageColours, 0, sizeof in.PageColours);
  in.Column = 0;
  in.Row = 0;
  in.LargeText = false;
  in.ColourIndex = 0;
  in.PageChars = 0;
  s.Vars.S(kSysTextColour) = 0xFFFFFF;
}

void PageReset(TForm1& f) {
  EngineState& s = f.State;
  ResetTextState(s);
  ResetTextFonts(f);
  DrawPageReset(f);
  if (!FullScreenText(s)) ShowNamePlate(f, {});
  s.Mode.WindowShown = true;
}

int32_t AutoCountdownFor(const EngineState& s) {
  const int32_t delay = s.AutoDelay();
  const int32_t divisor = std::max(1, 25 - delay);  // S026 is script-writable
  return s.Interp.PageChars / divisor + 2 * delay + 2;
}

bool IsHangingChar(unsigned code) {
  static constexpr unsigned kHanging[] = {
      0x8140, 0x8141, 0x8142, 0x8148, 0x8149, 0x815B, 0x8160, 0x816A, 0x8176, 0x8178, 0x8193,
      0x81F4, 0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3, 0x82E5, 0x82EC,
      0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385, 0x8387, 0x838E, 0x8396};
  static_assert(std::size(kHanging) == 33);
  return std::find(std::begin(kHanging), std::end(kHanging), code) != std::end(kHanging);
}

void AddPageVoice(InterpreterState& in, std::string_view name) {
  const size_t used = strnlen(in.PageVoices, kPageVoicesSize);
  if (used + name.size() + 1 > kPageVoicesSize - 1) return;
  std::memcpy(in.PageVoices + used, name.data(), name.size());
  in.PageVoices[used + name.size()] = ' ';
  in.PageVoices[used + name.size() + 1] = '\0';
}

namespace {

// A click wait begins: the auto-mode countdown and, for page and line waits,
// a snapshot for the page rewind view.
void BeginWait(TForm1& f, ClickWait kind) {
  EngineState& s = f.State;
  s.Wait.ClickWait = kind;
  s.Wait.AutoCountdown = AutoCountdownFor(s);
  s.Wait.PageFinish = false;
  s.Interp.NeedLine = true;
}

void Snapshot(TForm1& f) {
  TakePageSnapshot(f);
  f.State.Interp.PageVoices[0] = '\0';
}

// ============================================================ [SECTION] Character output

// True when the character delay ends the step after a character.
bool CharacterDelayEnds(const EngineState& s) {
  const WaitState& w = s.Wait;
  return !s.Interp.NameAsText && w.CharDelay != 0 && !w.PageFinish && s.Settings.TextSpeedOn &&
         s.Mode.SkipMode == SkipMode::Off;
}

// True when this step goes on printing right after the character just
// output: no character delay ends the step, and the next thing to print is
// another character (not the line end, a wait, a code or a wait mark).
bool MoreTextFollows(const EngineState& s) {
  const InterpreterState& in = s.Interp;
  if (CharacterDelayEnds(s)) return false;
  if (in.PendingText && *in.PendingText) return true;
  if (in.LinePos < 0 || in.LinePos + 1 >= kLineBufferSize) return false;
  const auto c = static_cast<unsigned char>(in.LineBuffer[in.LinePos]);
  const auto c1 = static_cast<unsigned char>(in.LineBuffer[in.LinePos + 1]);
  if (c == 0 || c == '%' || c == '[' || c == '<') return false;
  const unsigned pair = (c << 8) | c1;
  return pair != kPageMark && pair != kNewPageMark && pair != kLineMark;
}

}  // namespace

void PrintPageChar(TForm1& f, const char* bytes, int length, int column, int row) {
  DrawPageChar(f, bytes, length, column, row, MoreTextFollows(f.State));
}

namespace {

void OutputChar(TForm1& f, const char* bytes, int length) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  if (!s.Mode.WindowShown) PageReset(f);
  const bool window = !FullScreenText(s);
  if (window && in.Column == 0 && in.Row == 0 && !in.NameAsText) in.Row = 1;
  const unsigned code = length == 2 ? (static_cast<unsigned char>(bytes[0]) << 8) |
                                          static_cast<unsigned char>(bytes[1])
                                    : static_cast<unsigned char>(bytes[0]);
  const int limit = TextCellsPerRow(f);
  const bool hanging = length == 2 && IsHangingChar(code);
  if (in.Column >= (hanging ? limit + 2 : limit)) {
    in.Column = 0;
    ++in.Row;
    EndBacklogLine(in);
  }
  // Narration is indented; a line of speech or a bracketed thought is not.
  if (window && in.Column == 0 && in.Row != 0 && code != kOpenQuote && code != kOpenParen)
    in.Column = 2;
  // Cells outside the 20 x 100 grid are drawn but not kept.
  if (in.Row >= 0 && in.Row < kPageRows && in.Column >= 0 && in.Column + length <= kPageCols) {
    std::memcpy(&in.Page[in.Row][in.Column], bytes, length);
    in.PageColours[in.Row][in.Column] = static_cast<uint8_t>(in.ColourIndex);
  }
  PrintPageChar(f, bytes, length, in.Column, in.Row);
  ++in.PageChars;
  in.Column += in.LargeText ? 3 : length;
}

// After a character: true when the character delay ends the step.
bool CharacterDelay(TForm1& f) {
  EngineState& s = f.State;
  if (!CharacterDelayEnds(s)) return false;
  s.Wait.WaitTicks = std::max(0, s.Wait.CharDelay - 1);
  return true;
}

// A decimal number at p (digits only), saturating.
int32_t ReadDigits(const char* p, const char** end = nullptr) {
  int64_t n = 0;
  while (*p >= '0' && *p <= '9') {
    n = std::min<int64_t>(n * 10 + (*p - '0'), INT32_MAX);
    ++p;
  }
  if (end) *end = p;
  return static_cast<int32_t>(n);
}

// ============================================================ [SECTION] Inline codes

enum class Flow { Print, EndStep, NextLine };

bool KeyMatches(const char* text, const char* key) {
  for (size_t i = 0; key[i]; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != key[i]) return false;
  }
  return true;
}

// The text from p up to "]" or the line end.
std::string UpToBracket(const char* p) {
  const char* e = p;
  while (*e && *e != ']') ++e;
  return std::string(p, e);
}

// The argument of a key: one byte after it (the blank is assumed), or the
// line end when the line ends right there.
const char* ArgumentAfter(const char* keyEnd) {
  return *keyEnd ? keyEnd + 1 : keyEnd;
}

void RunInlineCommand(TForm1& f, const char* keyword, const std::string& args) {
  char line[kLineBufferSize];
  std::snprintf(line, sizeof line, "@%s %s", keyword, args.c_str());
  const int index = MatchCommand(line + 1);
  if (index >= 0) RunCommand(f, index, line);
}

void SetPending(InterpreterState& in, const char* text) {
  std::snprintf(in.PendingStore, sizeof in.PendingStore, "%.*s", kStringSize - 1, text);
  in.PendingText = in.PendingStore;
}

bool InlineGra(TForm1& f, const char* afterKey) {
  RunInlineCommand(f, "gra", UpToBracket(ArgumentAfter(afterKey)));
  return false;
}

bool InlineLargeOff(TForm1& f, const char*) {
  f.State.Interp.LargeText = false;
  ResetTextFonts(f);
  return false;
}

bool InlineLargeOn(TForm1& f, const char*) {
  f.State.Interp.LargeText = true;
  ResetTextFonts(f);
  return false;
}

bool InlineColour(TForm1& f, const char* afterKey) {
  f.State.Interp.ColourIndex = std::atoi(ArgumentAfter(afterKey));
  return false;
}

// The line goes on after "]" at a later step.
bool InlineWait(TForm1& f, const char* afterKey) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  if (s.Mode.SkipMode == SkipMode::Off) s.Wait.WaitTicks = std::max(0, std::atoi(ArgumentAfter(afterKey)));
  const char* const line = in.LineBuffer;
  const char* close = std::strchr(afterKey, ']');
  in.LinePos =
      close ? static_cast<int32_t>(close + 1 - line) : static_cast<int32_t>(std::strlen(line));
  return true;
}

// The name runs to the line end.
bool InlineVoice(TForm1& f, const char* afterKey) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  const std::string name(afterKey);
  if (s.Mode.SkipMode == SkipMode::Off) PlayVoice(f, name);
  AddPageVoice(in, name);
  std::snprintf(in.LastVoice, sizeof in.LastVoice, "%s", name.c_str());
  return false;
}

bool InlineClrb(TForm1& f, const char* afterKey) {
  RunInlineCommand(f, "clrb", UpToBracket(ArgumentAfter(afterKey)));
  RedrawScene(f);
  return false;
}

bool InlineDelay(TForm1& f, const char* afterKey) {
  f.State.Wait.CharDelay = std::atoi(ArgumentAfter(afterKey));
  return false;
}

bool InlineExpression(TForm1& f, const char* afterKey) {
  const int32_t value = Evaluate(f, afterKey);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  SetPending(f.State.Interp, digits);
  return false;
}

bool InlineString(TForm1& f, const char* afterKey) {
  if (*afterKey >= '0' && *afterKey <= '9')
    SetPending(f.State.Interp, f.State.Vars.GetString(*afterKey - '0'));
  return false;
}

}  // namespace

const InlineCode kInlineCodes[kInlineCodeCount] = {
    {"gra", "run the gra command", InlineGra},
    {"1", "large text off", InlineLargeOff},
    {"2", "large text on", InlineLargeOn},
    {"col", "colour index", InlineColour},
    {"wait", "wait timer ticks", InlineWait},
    {"cv ", "voice to the line end", InlineVoice},
    {"clrb", "run the clrb command and redraw", InlineClrb},
    {"delay", "character delay", InlineDelay},
    {"?", "print an expression", InlineExpression},
    {"$", "print a string variable", InlineString},
};

namespace {

Flow InlineCodeAt(TForm1& f) {
  InterpreterState& in = f.State.Interp;
  char* const line = in.LineBuffer;
  const char* code = line + in.LinePos + 1;  // after "["
  // The first key that matches runs; an unknown key does nothing.
  for (const InlineCode& c : kInlineCodes) {
    if (!KeyMatches(code, c.Key)) continue;
    if (c.Handler(f, code + std::strlen(c.Key))) return Flow::EndStep;
    break;
  }
  const char* close = std::strchr(code, ']');
  if (!close) {
    in.NeedLine = true;
    return Flow::NextLine;
  }
  in.LinePos = static_cast<int32_t>(close + 1 - line);
  return Flow::Print;
}

// "<ruby>": drawn at once over the current cell; not part of the page grid.
Flow RubyAt(TForm1& f) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  char* const line = in.LineBuffer;
  const char* text = line + in.LinePos + 1;
  const char* close = std::strchr(text, '>');
  const std::string_view ruby(text, close ? static_cast<size_t>(close - text) : std::strlen(text));
  if (!FullScreenText(s) && in.Row == 0 && in.Column == 0) in.Row = 1;
  int column = in.Column, row = in.Row;
  if (column == 0) {
    column = 2;
  } else if (column == TextCellsPerRow(f)) {
    column = 2;
    ++row;
  }
  DrawRuby(f, ruby, column, row);
  if (!close) {
    in.NeedLine = true;
    return Flow::NextLine;
  }
  in.LinePos = static_cast<int32_t>(close + 1 - line);
  return Flow::Print;
}

// ============================================================ [SECTION] Text printer

// Prints the current text line from LinePos. True when the step ends; false
// when the line is done and the step goes on with the next line.
bool PrintText(TForm1& f) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  WaitState& w = s.Wait;
  SanitiseRegisters(in);
  char* const line = in.LineBuffer;
  for (;;) {
    if (in.PendingText && *in.PendingText) {
      const char* p = in.PendingText;
      const int n = IsTextLead(static_cast<unsigned char>(p[0])) && p[1] ? 2 : 1;
      char bytes[2] = {p[0], n == 2 ? p[1] : '\0'};
      in.PendingText += n;
      AppendBacklog(in, std::string_view(bytes, n));
      OutputChar(f, bytes, n);
      if (CharacterDelay(f)) return true;
      continue;
    }
    const int32_t pos = in.LinePos;
    const unsigned char c = static_cast<unsigned char>(line[pos]);
    const unsigned char c1 = c ? static_cast<unsigned char>(line[pos + 1]) : 0;
    const unsigned pair = (c << 8) | c1;
    if (c == '%') {
      const char* end = nullptr;
      int32_t n = ReadDigits(line + pos + 1, &end);
      if (n != 0) {
        in.LinePos = static_cast<int32_t>(end - line);
      } else {
        n = 10;  // "%0" waits the default and then prints the "0"
        in.LinePos = pos + 1;
      }
      if (s.Mode.SkipMode == SkipMode::Off) w.WaitTicks = n;
      return true;
    }
    if (c == '[' || c == '<') {
      const Flow flow = c == '[' ? InlineCodeAt(f) : RubyAt(f);
      if (flow == Flow::EndStep) return true;
      if (flow == Flow::NextLine) return false;
      continue;
    }
    if (c == '\0') {
      EndBacklogLine(in);
      in.NeedLine = true;
      in.Column = 0;
      ++in.Row;
      in.NameAsText = false;
      return s.Mode.SkipMode == SkipMode::Off;
    }
    if (pair == kPageMark) {
      EndBacklogLine(in);
      BeginWait(f, ClickWait::Page);
      return true;
    }
    if (pair == kNewPageMark) {
      EndBacklogLine(in);
      PageReset(f);
      in.NeedLine = true;
      return true;
    }
    if (pair == kLineMark) {
      w.ClickWait = ClickWait::Line;
      w.AutoCountdown = AutoCountdownFor(s);
      if (pos == 0) {
        in.NeedLine = true;
      } else {
        in.LinePos = pos + 2;
      }
      w.PageFinish = false;
      return true;
    }
    if (pair == kDollar && line[pos + 2] != '\0') {
      const unsigned char digit = static_cast<unsigned char>(line[pos + 3]);
      if (digit >= 0x4F && digit <= 0x58) {
        const int d = digit - 0x4F;
        SetPending(in, d <= 1 && s.Vars.F.Test(28) ? kHetare : s.Vars.GetString(d));
        in.LinePos = pos + 4;
        continue;
      }
    }
    // An ordinary character of one or two bytes.
    const int n = IsTextLead(c) && c1 ? 2 : 1;
    const char bytes[2] = {static_cast<char>(c), static_cast<char>(c1)};
    // These three symbols are printed but not kept in the backlog.
    if (n == 1 || (pair != 0x819F && pair != 0x8198 && pair != 0x81E3))
      AppendBacklog(in, std::string_view(bytes, n));
    in.LinePos = pos + n;
    OutputChar(f, bytes, n);
    if (CharacterDelay(f)) return true;
  }
}

// ============================================================ [SECTION] Line dispatch

// A name plate line ">NAME". True when the step ends.
bool NamePlateLine(TForm1& f) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  if (!s.Mode.WindowShown && !FullScreenText(s)) PageReset(f);
  if (FullScreenText(s)) {
    in.LinePos = 1;
    in.NameAsText = true;
    in.NeedLine = false;
    return PrintText(f);
  }
  const char* rest = in.LineBuffer + 1;
  std::string name(rest);
  const unsigned char* u = reinterpret_cast<const unsigned char*>(rest);
  if (u[0] == 0x81 && u[1] == 0x90 && u[2] && u[3] >= 0x4F && u[3] <= 0x58)
    name = s.Vars.GetString(u[3] - 0x4F);
  // The name is a backlog line of its own and row 0 of the page.
  AppendBacklog(in, name.substr(0, kBacklogLineSize - 1));
  EndBacklogLine(in);
  std::memset(in.Page[0], 0, kPageCols);
  size_t kept = 0;
  while (kept < name.size()) {
    const size_t width = IsSjisLead(static_cast<unsigned char>(name[kept])) ? 2 : 1;
    if (kept + width > kPageCols) break;
    kept += width;
  }
  std::memcpy(in.Page[0], name.data(), std::min(kept, name.size()));
  ShowNamePlate(f, name);
  return false;
}

// Copies the next line of the script into the line buffer. A line longer
// than the buffer keeps its first 2047 bytes (whole characters); the rest of
// it is passed over.
void FetchLine(InterpreterState& in) {
  const uint8_t* b = in.ScriptBuffer;
  int32_t p = in.ScriptPos;
  int32_t n = 0;
  bool cut = false;
  while (p < in.ScriptSize && b[p]) {
    if (n < kLineBufferSize - 1) {
      in.LineBuffer[n++] = static_cast<char>(b[p]);
    } else {
      cut = true;
    }
    ++p;
  }
  if (cut) {
    int32_t whole = 0;
    while (whole < n) {
      const int32_t width = IsSjisLead(static_cast<unsigned char>(in.LineBuffer[whole])) ? 2 : 1;
      if (whole + width > n) break;
      whole += width;
    }
    n = whole;
  }
  in.LineBuffer[n] = '\0';
  in.ScriptPos = p < in.ScriptSize ? p + 1 : in.ScriptSize;
}

// What developer runs report about a command line whose arguments do not fit
// the command's shape; the command runs all the same.
void ReportArgumentShape(TForm1& f, int index) {
  constexpr int kScriptErrorKind = 3;
  const CommandInfo& c = kCommandTable[index];
  int length = static_cast<int>(std::strlen(c.Keyword));
  if (c.Keyword[length - 1] == ' ') --length;
  char message[96];
  std::snprintf(message, sizeof message, "*%.*s: the arguments do not fit \"%s\"", length,
                c.Keyword, c.Shape);
  f.Hosts.Script->ReportScriptError(message, kScriptErrorKind);
}

// Runs the line in the line buffer. True when the step ends.
bool RunLine(TForm1& f) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  char* const line = in.LineBuffer;
  for (;;) {
    const LineKindInfo& kind = ClassifyLine(line);
    switch (kind.Kind) {
      case LineKind::Empty:
        ++in.Row;
        return false;
      case LineKind::Assignment:
        Assign(f, line + 1);
        return false;
      case LineKind::Label:
      case LineKind::Comment:
      case LineKind::BlockEnd:
        return false;
      case LineKind::BlockStart:
        if (line[1] == ':') {
          const char* name = line + 2;
          const char* end = name;
          while (*end && *end != '(') ++end;
          in.ScriptPos = NamedBlockEnd(in, in.ScriptPos, std::string_view(name, end - name));
        } else {
          in.ScriptPos = NextBlockLine(in, in.ScriptPos, '}');
        }
        return false;
      case LineKind::Command: {
        const int index = MatchCommand(line + 1);
        if (index < 0) return false;  // unknown commands are passed over
        if (f.Hosts.Script->DeveloperRun() && !CommandArgumentsFit(index, line))
          ReportArgumentShape(f, index);
        const StepResult r = RunCommand(f, index, line);
        if (r == kStepRedispatch) continue;
        return r == kStepEnd;
      }
      case LineKind::NamePlate:
        return NamePlateLine(f);
      case LineKind::PageEnd:
      case LineKind::PageEndVoiceGoesOn:
      case LineKind::PageEndNoCursor:
        EndBacklogLine(in);
        BeginWait(f, kind.Wait);
        ++in.LinePos;
        if (kind.Kind != LineKind::PageEndNoCursor) Snapshot(f);
        return true;
      case LineKind::LineWait:
        if (s.Mode.SkipMode != SkipMode::Off) return false;
        BeginWait(f, kind.Wait);
        Snapshot(f);
        DropPageSnapshot(f);  // the next snapshot overwrites this one
        return true;
      case LineKind::Text:
        in.NeedLine = false;
        in.LinePos = 0;
        return PrintText(f);
    }
  }
}

}  // namespace

// ============================================================ [SECTION] The step

void InterpreterStep(TForm1& f) {
  EngineState& s = f.State;
  InterpreterState& in = s.Interp;
  int lines = 0;
  for (;;) {
    if (!in.NeedLine) {
      if (PrintText(f)) return;
      continue;
    }
    // Trace mode runs one line per click.
    if (s.Shell.TraceMode && lines > 0) {
      in.NeedLine = true;
      s.Wait.SleepFrames = -1;
      return;
    }
    ++lines;
    in.NameAsText = false;
    in.LineStart = in.ScriptPos;
    in.LinePos = 0;
    if (in.ScriptPos < 0 || in.ScriptPos >= in.ScriptSize) {
      if (in.CallDepth > 0) {
        ReturnFromCall(f);
      } else {
        s.Shell.ScriptEnded = true;
      }
      return;
    }
    FetchLine(in);
    if (RunLine(f)) return;
  }
}

// ============================================================ [SECTION] Line kinds and the trace

// The last row takes every first byte the others do not name.
const LineKindInfo kLineKinds[kLineKindCount] = {
    {std::string_view("\0", 1), LineKind::Empty, "empty line", ClickWait::None},
    {"!", LineKind::Assignment, "assignment", ClickWait::None},
    {":", LineKind::Label, "label", ClickWait::None},
    {";", LineKind::Comment, "comment", ClickWait::None},
    {"}", LineKind::BlockEnd, "block end", ClickWait::None},
    {"{", LineKind::BlockStart, "block start", ClickWait::None},
    {"*@", LineKind::Command, "command", ClickWait::None},
    {">", LineKind::NamePlate, "name plate", ClickWait::None},
    {"\\", LineKind::PageEnd, "page end", ClickWait::Page},
    {"~", LineKind::PageEndVoiceGoesOn, "page end, voice continues", ClickWait::PageKeepVoice},
    {"+", LineKind::PageEndNoCursor, "page end without cursor", ClickWait::PageNoCursor},
    {"=", LineKind::LineWait, "line wait", ClickWait::Line},
    {{}, LineKind::Text, "text", ClickWait::None},
};

const LineKindInfo& ClassifyLine(const char* line) {
  for (const LineKindInfo& k : kLineKinds)
    if (k.Prefixes.find(line[0]) != std::string_view::npos) return k;
  return kLineKinds[kLineKindCount - 1];
}

std::string DescribeLine(const char* line) {
  const LineKindInfo& kind = ClassifyLine(line);
  if (kind.Kind != LineKind::Command) return kind.Meaning;
  const int index = MatchCommand(line + 1);
  if (index < 0) return "unknown command";
  const CommandInfo& c = kCommandTable[index];
  std::string text(c.Keyword);
  if (text.back() == ' ') text.pop_back();
  if (*c.Shape) text += std::string(" ") + c.Shape;
  return text;
}

}  // namespace zk
