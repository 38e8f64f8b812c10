// Every script command handler, one per keyword of the command table.
//
// Each handler is defined exactly once: the interpreter's own commands in
// script/, the others by the subsystem that owns them. A handler whose
// subsystem is not connected yet is defined in script/CommandStubs.cpp and
// does nothing but return its step result; the owner moves it out of there.
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

// ---- Scene graphics (graphics/)
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

// ---- Choices (script/, choices)
ZK_COMMAND(CmdSelect);
ZK_COMMAND(CmdClickmap);
ZK_COMMAND(CmdSeltree);

// ---- Message window open/close (core/, quick buttons and window)
ZK_COMMAND(CmdWinClose);
ZK_COMMAND(CmdWinOpen);

// ---- Sound (audio/)
ZK_COMMAND(CmdMusic);
ZK_COMMAND(CmdMovie);
ZK_COMMAND(CmdSeoff);

// ---- Effects, animations, staff rolls (effects/)
ZK_COMMAND(CmdBgAnim);
ZK_COMMAND(CmdRoll);
ZK_COMMAND(CmdAnim);
ZK_COMMAND(CmdObj);
ZK_COMMAND(CmdSroll);
ZK_COMMAND(CmdEffect);
ZK_COMMAND(CmdManpu);
ZK_COMMAND(CmdSprmv);
ZK_COMMAND(CmdEfxanim);

// ---- Game services (services/)
ZK_COMMAND(CmdLoad);
ZK_COMMAND(CmdSave);
ZK_COMMAND(CmdMap);
ZK_COMMAND(CmdViewer);
ZK_COMMAND(CmdKaisou);

#undef ZK_COMMAND

}  // namespace zk
