// Do-nothing versions of the choices (script/Choices.h) until they land. The
// dispatcher stops skip and auto mode before them (the command table's
// First column).
#include "core/TForm1.h"
#include "script/Choices.h"

namespace zk {

void ChoiceTick(TForm1&) {}
bool ChoiceTickQuiet(TForm1&) {
  return true;
}  // ChoiceTick does nothing yet
void ChoiceHover(TForm1&, int, int) {}
// Until choices are connected, confirming an option closes the choice.
void ChoiceConfirm(TForm1& f, bool) {
  if (f.State.Mode.ChoiceHover != 0) f.State.Mode.ChoiceMode = ChoiceMode::None;
}
void GoToLabel(TForm1&, const char*) {}

StepResult CmdSelect(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdClickmap(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdSeltree(TForm1&, char*, char*) { return kStepEnd; }

}  // namespace zk
