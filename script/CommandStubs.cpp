// Commands whose subsystem is not connected yet. Each does nothing and returns
// the step result the command has once it is implemented, so the script flows
// as it will. When a subsystem lands, it deletes its handlers from here and
// defines them in its own folder (one definition per handler).
//
// The part of a command that belongs to the dispatcher stays with the handler
// when it moves: the choice rule of StopAtChoice before a choice or a game
// screen opens, and skip and auto mode off before `roll` and `viewer`.
#include "core/Hooks.h"
#include "script/CommandHandlers.h"
#include "script/Commands.h"

namespace zk {

#define ZK_STUB(name, result)              \
  StepResult name(TForm1&, char*, char*) { \
    return result;                         \
  }

// A stub that applies the dispatcher's part first.
#define ZK_STUB_THEN(name, first, result)    \
  StepResult name(TForm1& f, char*, char*) { \
    first(f);                                \
    return result;                           \
  }

// ---- Choices (script/, choices)
ZK_STUB_THEN(CmdSelect, ApplyStopAtChoice, kStepEnd)
ZK_STUB_THEN(CmdClickmap, ApplyStopAtChoice, kStepEnd)
ZK_STUB_THEN(CmdSeltree, ApplyStopAtChoice, kStepEnd)
void ChoiceTick(TForm1&) {}
// ChoiceTick does nothing yet.
bool ChoiceTickQuiet(TForm1&) { return true; }

// ---- Sound (audio/)
ZK_STUB(CmdMusic, kStepContinue)
ZK_STUB(CmdMovie, kStepContinue)
ZK_STUB(CmdSeoff, kStepContinue)

// ---- Effects, animations, staff rolls (effects/)
ZK_STUB(CmdBgAnim, kStepContinue)
ZK_STUB_THEN(CmdRoll, StopSkipAndAuto, kStepEnd)
ZK_STUB(CmdAnim, kStepEnd)
ZK_STUB(CmdObj, kStepContinue)
ZK_STUB(CmdSroll, kStepEnd)
ZK_STUB(CmdEffect, kStepEnd)
ZK_STUB(CmdManpu, kStepContinue)
ZK_STUB(CmdSprmv, kStepEnd)
ZK_STUB(CmdEfxanim, kStepEnd)

// ---- Game services (services/)
ZK_STUB_THEN(CmdLoad, ApplyStopAtChoice, kStepEnd)
ZK_STUB_THEN(CmdSave, ApplyStopAtChoice, kStepEnd)
ZK_STUB_THEN(CmdMap, ApplyStopAtChoice, kStepEnd)
ZK_STUB_THEN(CmdViewer, StopSkipAndAuto, kStepEnd)
ZK_STUB(CmdKaisou, kStepEnd)

#undef ZK_STUB
#undef ZK_STUB_THEN

}  // namespace zk
