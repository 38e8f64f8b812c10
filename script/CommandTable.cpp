#include "script/CommandTable.h"

#include <cstring>

#include "audio/Audio.h"
#include "effects/Effects.h"
#include "script/Choices.h"
#include "script/CommandHandlers.h"
#include "services/Services.h"

namespace zk {

namespace {

// The argument text starts right after the keyword and its trailing blank;
// for a keyword without one the separating blank is assumed, not tested.
constexpr int Offset(const char* keyword) {
  int n = 0;
  while (keyword[n]) ++n;
  return keyword[n - 1] == ' ' ? 1 + n : 2 + n;
}

#define ZK_ENTRY(keyword, handler, owner) \
  { keyword, handler, Offset(keyword), owner }

}  // namespace

// The order matters: the first keyword that matches wins ("exitgame" before
// "exit", "seloop " before "seoff").
const CommandInfo kCommandTable[kCommandCount] = {
    ZK_ENTRY("gra ", CmdGra, "graphics"),
    ZK_ENTRY("music ", CmdMusic, "audio"),
    ZK_ENTRY("cv ", CmdCv, "script"),
    ZK_ENTRY("go ", CmdGo, "script"),
    ZK_ENTRY("clrb", CmdClrb, "graphics"),
    ZK_ENTRY("select", CmdSelect, "script (choices)"),
    ZK_ENTRY("clickmap ", CmdClickmap, "script (choices)"),
    ZK_ENTRY("switch", CmdSwitch, "script"),
    ZK_ENTRY("chain ", CmdChain, "script"),
    ZK_ENTRY("wait_v_end", CmdWaitVEnd, "script"),
    ZK_ENTRY("spr ", CmdSpr, "graphics"),
    ZK_ENTRY("calc ", CmdCalc, "script"),
    ZK_ENTRY("if ", CmdIf, "script"),
    ZK_ENTRY("ptset ", CmdPtset, "graphics"),
    ZK_ENTRY("call ", CmdCall, "script"),
    ZK_ENTRY("end", CmdEnd, "script"),
    ZK_ENTRY("mode ", CmdMode, "script"),
    ZK_ENTRY("load", CmdLoad, "services"),
    ZK_ENTRY("gameinit", CmdGameinit, "script"),
    ZK_ENTRY("grb ", CmdGrb, "graphics"),
    ZK_ENTRY("win_close", CmdWinClose, "core"),
    ZK_ENTRY("special ", CmdSpecial, "script"),
    ZK_ENTRY("gameclr", CmdGameclr, "script"),
    ZK_ENTRY("partsload ", CmdPartsload, "graphics"),
    ZK_ENTRY("movie ", CmdMovie, "audio"),
    ZK_ENTRY("mark ", CmdMark, "script"),
    ZK_ENTRY("bg ", CmdBg, "graphics"),
    ZK_ENTRY("fix", CmdFix, "script"),
    ZK_ENTRY("sleep ", CmdSleep, "script"),
    ZK_ENTRY("seltree", CmdSeltree, "script (choices)"),
    ZK_ENTRY("string ", CmdString, "script"),
    ZK_ENTRY("direct ", CmdDirect, "graphics"),
    ZK_ENTRY("save", CmdSave, "services"),
    ZK_ENTRY("break", CmdBreak, "script"),
    ZK_ENTRY("win_open", CmdWinOpen, "core"),
    ZK_ENTRY("stitle ", CmdStitle, "script"),
    ZK_ENTRY("backto", CmdBackto, "script"),
    ZK_ENTRY("map", CmdMap, "services"),
    ZK_ENTRY("bg_anim", CmdBgAnim, "effects"),
    ZK_ENTRY("roll ", CmdRoll, "effects"),
    ZK_ENTRY("anim", CmdAnim, "effects"),
    ZK_ENTRY("shake", CmdShake, "script"),
    ZK_ENTRY("cjmp", CmdCjmp, "script"),
    ZK_ENTRY("setname", CmdSetname, "script"),
    ZK_ENTRY("ovr", CmdOvr, "graphics"),
    ZK_ENTRY("viewer", CmdViewer, "services"),
    ZK_ENTRY("se ", CmdSe, "script"),
    ZK_ENTRY("seloop ", CmdSeloop, "script"),
    ZK_ENTRY("seoff", CmdSeoff, "audio"),
    ZK_ENTRY("exitgame", CmdExitgame, "script"),
    ZK_ENTRY("rec", CmdRec, "script"),
    ZK_ENTRY("tw_set ", CmdTwSet, "script"),
    ZK_ENTRY("exit", CmdExit, "script"),
    {"obj_", CmdObj, 5, "effects"},  // the argument follows the keyword directly
    ZK_ENTRY("sroll", CmdSroll, "effects"),
    ZK_ENTRY("scroll ", CmdScroll, "graphics"),
    ZK_ENTRY("kaisou", CmdKaisou, "services"),
    ZK_ENTRY("chgprm", CmdChgprm, "script"),
    ZK_ENTRY("cgfull", CmdCgfull, "script"),
    ZK_ENTRY("effect", CmdEffect, "effects"),
    ZK_ENTRY("vend", CmdVend, "script"),
    ZK_ENTRY("manpu ", CmdManpu, "effects"),
    ZK_ENTRY("sprmv ", CmdSprmv, "effects"),
    ZK_ENTRY("efxanim ", CmdEfxanim, "effects"),
};

#undef ZK_ENTRY

namespace {
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

int MatchCommand(const char* text) {
  for (int i = 0; i < kCommandCount; ++i) {
    const char* k = kCommandTable[i].Keyword;
    size_t n = 0;
    // A NUL in the text never equals a keyword byte, so the walk stops there.
    while (k[n] && Lower(text[n]) == k[n]) ++n;
    if (!k[n]) return i;
  }
  return -1;
}

StepResult RunCommand(TForm1& f, int index, char* line) {
  const CommandInfo& c = kCommandTable[index];
  const size_t length = std::strlen(line);
  const size_t offset = static_cast<size_t>(c.ArgOffset);
  char* args = line + (offset < length ? offset : length);
  return c.Handler(f, line, args);
}

}  // namespace zk
