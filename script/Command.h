// The shape of a script command: what the dispatcher calls for a keyword.
#pragma once

namespace zk {

class TForm1;

// What the interpreter step does after a command.
enum StepResult : int {
  kStepContinue = 0,    // the next line runs in the same step
  kStepEnd = 1,         // the step ends
  kStepRedispatch = 2,  // the line buffer was rewritten: dispatch it again
};

// line: the whole line buffer (the prefix character at index 0);
// args: where the command's argument text starts inside it.
using CommandHandler = StepResult (*)(TForm1& f, char* line, char* args);

}  // namespace zk
