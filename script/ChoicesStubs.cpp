// Do-nothing versions of the choices (script/Choices.h) until they land. The
// commands still apply the dispatcher's part: skip and auto stop before a
// choice when the player asked for it.
#include "core/TForm1.h"
#include "script/Choices.h"
#include "script/Commands.h"

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

StepResult CmdSelect(TForm1& f, char*, char*) {
  ApplyStopAtChoice(f);
  return kStepEnd;
}
StepResult CmdClickmap(TForm1& f, char*, char*) {
  ApplyStopAtChoice(f);
  return kStepEnd;
}
StepResult CmdSeltree(TForm1& f, char*, char*) {
  ApplyStopAtChoice(f);
  return kStepEnd;
}

}  // namespace zk
