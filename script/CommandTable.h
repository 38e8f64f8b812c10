// The script command table: the 64 keywords in their matching order, each with
// its handler, where its argument text starts and the subsystem that owns it.
// The dispatcher, the trace output and the developer tools all read this one
// table.
#pragma once
#include <cstddef>

#include "script/Command.h"

namespace zk {

struct CommandInfo {
  const char* Keyword;  // as matched, a trailing blank included
  CommandHandler Handler;
  int ArgOffset;      // offset of the argument text in the line buffer
  const char* Owner;  // subsystem folder that implements the command
};

constexpr int kCommandCount = 64;
extern const CommandInfo kCommandTable[kCommandCount];

// The index of the first keyword that the text after the prefix character
// begins with (ASCII letters compared without case over the keyword's
// length), or -1.
int MatchCommand(const char* text);

// Runs command index on the line buffer: line is the whole line (the prefix at
// index 0). The argument pointer never passes the line's NUL, so a short
// line reads an empty argument.
StepResult RunCommand(TForm1& f, int index, char* line);

}  // namespace zk
