// The script command table: the 64 keywords in their matching order, each with
// its handler, where its argument text starts and the shape of its arguments.
// The dispatcher, the trace output and the developer tools all read this one
// table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/Command.h"

namespace zk {

// Argument shapes. Each command describes its argument text in a short
// notation, printed by the trace and checked in developer runs:
//   ""     no argument: nothing follows the keyword
//   n      a whole number: digits after an optional sign
//   name   a name, label or file: one word without blanks
//   expr   an expression or condition: any text, not empty
//   args   the owner's own syntax (read by the command itself): any text, not empty
//   text   any text, possibly empty
// Fields are separated by the character written between them: "," a comma,
// " " a blank, ":" a colon. A field ends at the first such separator; the
// last one runs to the end of the line, so a final args or text field may
// hold separators. "[...]" marks what may be left out, from its separator
// on; brackets close at the end of the shape ("n[,n[,n]]"). When it is left
// out, the field before it may not hold that separator. Blanks around a
// field are not part of it.
// What the dispatcher does before a command that opens a choice or a game
// screen: skip and auto mode off (and the quick buttons redrawn), always or
// only when the player asked to stop at choices.
enum class CommandFirst : int32_t { Nothing, StopAtChoice, StopSkipAndAuto };

struct CommandInfo {
  const char* Keyword;  // as matched, a trailing blank included
  CommandHandler Handler;
  int ArgOffset;      // offset of the argument text in the line buffer
  const char* Shape;  // the arguments, in the notation above
  CommandFirst First = CommandFirst::Nothing;
};

constexpr int kCommandCount = 64;
extern const CommandInfo kCommandTable[kCommandCount];

// The index of the first keyword that the text after the prefix character
// begins with (ASCII letters compared without case over the keyword's
// length), or -1.
int MatchCommand(const char* text);

// Whether the argument text of command index on line (the prefix at index 0)
// fits the command's shape. Only the developer check asks; play reads every
// argument text as it comes.
bool CommandArgumentsFit(int index, const char* line);

// Whether args fits shape (notation above).
bool FitsShape(std::string_view shape, std::string_view args);

// Runs command index on the line buffer: line is the whole line (the prefix at
// index 0). The argument pointer never passes the line's NUL, so a short
// line reads an empty argument.
StepResult RunCommand(TForm1& f, int index, char* line);

}  // namespace zk
