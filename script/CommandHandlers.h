// The command handlers of the interpreter itself and the dispatcher's entry
// points of the graphics commands. The other subsystems declare their
// handlers in their own headers (audio/Audio.h, effects/Effects.h,
// services/Services.h, script/Choices.h).
#pragma once
#include "script/Command.h"

namespace zk {

#define ZK_COMMAND(name) StepResult name(TForm1& f, char* line, char* args)

// ---- The interpreter itself (script/Commands.cpp, script/Flow.cpp, script/Expressions.cpp)
ZK_COMMAND(CmdCv);  // voice line: backlog and page bookkeeping, playback through audio/
ZK_COMMAND(CmdGo);
ZK_COMMAND(CmdSwitch);
ZK_COMMAND(CmdChain);
ZK_COMMAND(CmdWaitVEnd);
ZK_COMMAND(CmdCalc);
ZK_COMMAND(CmdIf);
ZK_COMMAND(CmdCall);
ZK_COMMAND(CmdEnd);
ZK_COMMAND(CmdMode);
ZK_COMMAND(CmdGameinit);
ZK_COMMAND(CmdSpecial);
ZK_COMMAND(CmdGameclr);
ZK_COMMAND(CmdMark);
ZK_COMMAND(CmdFix);
ZK_COMMAND(CmdSleep);
ZK_COMMAND(CmdString);
ZK_COMMAND(CmdBreak);
ZK_COMMAND(CmdStitle);
ZK_COMMAND(CmdBackto);
ZK_COMMAND(CmdShake);
ZK_COMMAND(CmdCjmp);
ZK_COMMAND(CmdSetname);
ZK_COMMAND(CmdSe);
ZK_COMMAND(CmdSeloop);
ZK_COMMAND(CmdExitgame);
ZK_COMMAND(CmdRec);
ZK_COMMAND(CmdTwSet);
ZK_COMMAND(CmdExit);
ZK_COMMAND(CmdChgprm);
ZK_COMMAND(CmdCgfull);
ZK_COMMAND(CmdVend);

// ---- Scene graphics (script/GraphicsCommands.cpp)
ZK_COMMAND(CmdGra);
ZK_COMMAND(CmdClrb);
ZK_COMMAND(CmdSpr);
ZK_COMMAND(CmdPtset);
ZK_COMMAND(CmdGrb);
ZK_COMMAND(CmdPartsload);
ZK_COMMAND(CmdBg);
ZK_COMMAND(CmdDirect);
ZK_COMMAND(CmdOvr);
ZK_COMMAND(CmdScroll);

#undef ZK_COMMAND

}  // namespace zk
