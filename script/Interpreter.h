// The line interpreter: the step loop, the text printer with its inline codes,
// the page grid and the backlog ring. InterpreterStep and PageReset are the
// engine core's entry points (core/Hooks.h).
#pragma once
#include <cstdint>
#include <string_view>

#include "script/Command.h"

namespace zk {

class TForm1;
struct EngineState;
struct InterpreterState;

// The inline text codes "[KEY ...]", tried in this order; each key is
// compared without case over its own length.
struct InlineCode {
  const char* Key;
  const char* Meaning;
};
constexpr int kInlineCodeCount = 10;
extern const InlineCode kInlineCodes[kInlineCodeCount];

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

// The trace output: the command table entry or line kind of a script line.
const char* DescribeLine(const char* line);

}  // namespace zk
