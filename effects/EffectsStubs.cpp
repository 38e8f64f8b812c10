// Do-nothing versions of the effects that are not built yet (the second half
// of effects/Effects.h). Each command returns the step result it will have;
// the dispatcher stops skip and auto mode before a staff roll.
#include "core/TForm1.h"
#include "effects/Effects.h"

namespace zk {

void InitEffects(TForm1&) {}
void ClearObjects(TForm1&) {}
void EffectTick(TForm1&) {}
bool EffectTickQuiet(TForm1&) {
  return true;
}  // EffectTick does nothing yet
void BackgroundAnimationStep(TForm1&) {}
void ManpuErase(TForm1&) {}
void RestoreAnimationWindows(TForm1&) {}
void StaffRollIdle(TForm1&) {}
void StaffRollTick(TForm1&) {}
void StaffRollStop(TForm1&) {}
void StaffRollPause(TForm1&, bool) {}

StepResult CmdBgAnim(TForm1&, char*, char*) {
  return kStepContinue;
}
StepResult CmdRoll(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdAnim(TForm1&, char*, char*) {
  return kStepEnd;
}
StepResult CmdObj(TForm1&, char*, char*) {
  return kStepContinue;
}
StepResult CmdSroll(TForm1&, char*, char*) {
  return kStepEnd;
}
StepResult CmdEffect(TForm1&, char*, char*) {
  return kStepEnd;
}
StepResult CmdManpu(TForm1&, char*, char*) {
  return kStepContinue;
}
StepResult CmdSprmv(TForm1&, char*, char*) {
  return kStepEnd;
}
StepResult CmdEfxanim(TForm1&, char*, char*) {
  return kStepEnd;
}

}  // namespace zk
