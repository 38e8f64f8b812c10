// The line interpreter: the step loop, the text printer with its inline codes,
// the page grid and the backlog ring. InterpreterStep and PageReset are the
// engine core's entry points (core/Hooks.h).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/EngineState.h"
#include "script/Command.h"

namespace zk {

class TForm1;
struct EngineState;
struct InterpreterState;

// The inline text codes "[KEY ...]", tried in this order; each key is
// compared without case over its own length. The handler gets the text right
// after the key; it returns true when the code ends the step, having placed
// LinePos itself. Otherwise the printer goes on after the code's "]".
struct InlineCode {
  const char* Key;
  const char* Meaning;
  bool (*Handler)(TForm1& f, const char* afterKey);
};
constexpr int kInlineCodeCount = 10;
extern const InlineCode kInlineCodes[kInlineCodeCount];

// The kinds of script line, told apart by their first byte.
enum class LineKind : int {
  Empty,
  Assignment,
  Label,
  Comment,
  BlockEnd,
  BlockStart,
  Command,
  NamePlate,
  PageEnd,
  PageEndVoiceGoesOn,
  PageEndNoCursor,
  LineWait,
  Text,
};
struct LineKindInfo {
  std::string_view Prefixes;  // the first bytes of the kind; empty: any other byte
  LineKind Kind;
  const char* Meaning;
  ClickWait Wait;  // the wait the line begins
};
constexpr int kLineKindCount = 13;
extern const LineKindInfo kLineKinds[kLineKindCount];

// The table row of a line (the line's first byte decides).
const LineKindInfo& ClassifyLine(const char* line);

// Appends bytes to the backlog line being written. A line keeps at most 69
// bytes; what does not fit (a double-byte character only whole) is dropped.
void AppendBacklog(InterpreterState& in, std::string_view bytes);
// Ends the backlog line; the 201st line drops the oldest.
void EndBacklogLine(InterpreterState& in);

// The text half of a page reset, without drawing: page grid, cursor, large
// text, colour index, page character count and S037.
void ResetTextState(EngineState& s);

// Timer ticks before auto mode releases a wait that begins now.
int32_t AutoCountdownFor(const EngineState& s);

// Draws one character (1 or 2 bytes) of the page at a text cell, telling the
// text layer whether this step prints another character right after it (so
// showing the screen may wait for that one).
void PrintPageChar(TForm1& f, const char* bytes, int length, int column, int row);

// One of the characters that may hang two cells past the end of a row.
bool IsHangingChar(unsigned code);

// Adds a voice name (and a blank) to the voices of the current page.
void AddPageVoice(InterpreterState& in, std::string_view name);

// The trace output: the kind of a script line; for a command line the
// keyword and its argument shape.
std::string DescribeLine(const char* line);

}  // namespace zk
