// What the choices offer the engine: the timer tick of a timed choice, hover
// and confirmation by input, the jump of a click map, and the three choice
// commands. Until choices land, script/ChoicesStubs.cpp keeps do-nothing
// versions.
#pragma once

#include "script/Command.h"

namespace zk {

class TForm1;

void ChoiceTick(TForm1& f);
// True while ChoiceTick has nothing to do until input arrives (no timed
// default choice counts down).
bool ChoiceTickQuiet(TForm1& f);
void ChoiceHover(TForm1& f, int x, int y);  // every choice kind, by ChoiceMode
void ChoiceConfirm(TForm1& f, bool right);
void GoToLabel(TForm1& f, const char* label);

StepResult CmdSelect(TForm1& f, char* line, char* args);
StepResult CmdClickmap(TForm1& f, char* line, char* args);
StepResult CmdSeltree(TForm1& f, char* line, char* args);

}  // namespace zk
