#include "script/CommandTable.h"

#include <cstring>
#include <string>

#include "audio/Audio.h"
#include "effects/Effects.h"
#include "script/Choices.h"
#include "script/CommandHandlers.h"
#include "script/Commands.h"
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

#define ZK_ENTRY(keyword, handler, shape) \
  { keyword, handler, Offset(keyword), shape }
#define ZK_ENTRY_FIRST(keyword, handler, shape, first) \
  { keyword, handler, Offset(keyword), shape, CommandFirst::first }

}  // namespace

// The order matters: the first keyword that matches wins ("exitgame" before
// "exit", "seloop " before "seoff").
const CommandInfo kCommandTable[kCommandCount] = {
    ZK_ENTRY("gra ", CmdGra, "name[ args]"),
    ZK_ENTRY("music ", CmdMusic, "n"),
    ZK_ENTRY("cv ", CmdCv, "name"),
    ZK_ENTRY("go ", CmdGo, "name"),
    ZK_ENTRY("clrb", CmdClrb, "[args]"),
    ZK_ENTRY_FIRST("select", CmdSelect, "", StopAtChoice),
    ZK_ENTRY_FIRST("clickmap ", CmdClickmap, "name", StopAtChoice),
    ZK_ENTRY("switch", CmdSwitch, "[name]"),
    ZK_ENTRY("chain ", CmdChain, "name[:name]"),
    ZK_ENTRY("wait_v_end", CmdWaitVEnd, ""),
    ZK_ENTRY("spr ", CmdSpr, "[args]"),
    ZK_ENTRY("calc ", CmdCalc, "expr"),
    ZK_ENTRY("if ", CmdIf, "args"),
    ZK_ENTRY("ptset ", CmdPtset, "expr,expr,expr,expr,expr,expr"),
    ZK_ENTRY("call ", CmdCall, "name[:name]"),
    ZK_ENTRY("end", CmdEnd, ""),
    ZK_ENTRY("mode ", CmdMode, "n"),
    ZK_ENTRY_FIRST("load", CmdLoad, "", StopAtChoice),
    ZK_ENTRY("gameinit", CmdGameinit, ""),
    ZK_ENTRY("grb ", CmdGrb, "name[ args]"),
    ZK_ENTRY("win_close", CmdWinClose, ""),
    ZK_ENTRY("special ", CmdSpecial, "n[ args]"),
    ZK_ENTRY("gameclr", CmdGameclr, ""),
    ZK_ENTRY("partsload ", CmdPartsload, "name[,name]"),
    ZK_ENTRY("movie ", CmdMovie, "args"),
    ZK_ENTRY("mark ", CmdMark, "n"),
    ZK_ENTRY("bg ", CmdBg, "name[ args]"),
    ZK_ENTRY("fix", CmdFix, ""),
    ZK_ENTRY("sleep ", CmdSleep, "n"),
    ZK_ENTRY_FIRST("seltree", CmdSeltree, "n", StopAtChoice),
    ZK_ENTRY("string ", CmdString, "n[ text]"),
    ZK_ENTRY("direct ", CmdDirect, "name[,n[,n[,n]]]"),
    ZK_ENTRY_FIRST("save", CmdSave, "", StopAtChoice),
    ZK_ENTRY("break", CmdBreak, ""),
    ZK_ENTRY("win_open", CmdWinOpen, ""),
    ZK_ENTRY("stitle ", CmdStitle, "text"),
    ZK_ENTRY("backto", CmdBackto, ""),
    ZK_ENTRY_FIRST("map", CmdMap, "name", StopAtChoice),
    ZK_ENTRY("bg_anim", CmdBgAnim, "args"),
    ZK_ENTRY_FIRST("roll ", CmdRoll, "name", StopSkipAndAuto),
    ZK_ENTRY("anim", CmdAnim, "name,n,n,expr"),
    ZK_ENTRY("shake", CmdShake, "n[,n[,n]]"),
    ZK_ENTRY("cjmp", CmdCjmp, "[expr]"),
    ZK_ENTRY("setname", CmdSetname, ""),
    ZK_ENTRY("ovr", CmdOvr, "name[,n[,n[,n]]]"),
    ZK_ENTRY_FIRST("viewer", CmdViewer, "name", StopSkipAndAuto),
    ZK_ENTRY("se ", CmdSe, "name"),
    ZK_ENTRY("seloop ", CmdSeloop, "name"),
    ZK_ENTRY("seoff", CmdSeoff, ""),
    ZK_ENTRY("exitgame", CmdExitgame, ""),
    ZK_ENTRY("rec", CmdRec, ""),
    ZK_ENTRY("tw_set ", CmdTwSet, "n"),
    ZK_ENTRY("exit", CmdExit, ""),
    {"obj_", CmdObj, 5, "args"},  // the argument follows the keyword directly
    ZK_ENTRY("sroll", CmdSroll, "name"),
    ZK_ENTRY("scroll ", CmdScroll, "name,n,n,n"),
    ZK_ENTRY("kaisou", CmdKaisou, ""),
    ZK_ENTRY("chgprm", CmdChgprm, ""),
    ZK_ENTRY("cgfull", CmdCgfull, ""),
    ZK_ENTRY("effect", CmdEffect, "name"),
    ZK_ENTRY("vend", CmdVend, ""),
    ZK_ENTRY("manpu ", CmdManpu, "args"),
    ZK_ENTRY("sprmv ", CmdSprmv, "args"),
    ZK_ENTRY("efxanim ", CmdEfxanim, "name,n,args"),
};

#undef ZK_ENTRY
#undef ZK_ENTRY_FIRST

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

namespace {

// Where the argument text of command index starts in line: never past the
// line's NUL, so a short line reads an empty argument.
size_t ArgumentStart(int index, const char* line) {
  const size_t length = std::strlen(line);
  const size_t offset = static_cast<size_t>(kCommandTable[index].ArgOffset);
  return offset < length ? offset : length;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool FieldFits(std::string_view kind, std::string_view field) {
  field = Trim(field);
  if (kind == "n") {
    if (!field.empty() && (field[0] == '-' || field[0] == '+')) field.remove_prefix(1);
    if (field.empty()) return false;
    for (char c : field)
      if (c < '0' || c > '9') return false;
    return true;
  }
  if (kind == "name") {
    if (field.empty()) return false;
    for (char c : field)
      if (IsBlank(c)) return false;
    return true;
  }
  if (kind == "expr" || kind == "args") return !field.empty();
  return kind == "text";
}

// A shape without brackets: fields and the separators between them. The
// last field runs to the end of args; it may not hold stop, the separator of
// an optional part that was left out.
bool FlatFits(std::string_view shape, std::string_view args, char stop) {
  if (shape.empty()) return args.empty();
  for (;;) {
    size_t n = 0;
    while (n < shape.size() && shape[n] >= 'a' && shape[n] <= 'z') ++n;
    const std::string_view kind = shape.substr(0, n);
    shape.remove_prefix(n);
    if (shape.empty())
      return FieldFits(kind, args) && (!stop || args.find(stop) == std::string_view::npos);
    const char separator = shape[0];
    shape.remove_prefix(1);
    if (separator != ',' && separator != ' ' && separator != ':') return false;
    const size_t at = args.find(separator);
    if (at == std::string_view::npos || !FieldFits(kind, args.substr(0, at))) return false;
    args = Trim(args.substr(at + 1));
  }
}

}  // namespace

bool FitsShape(std::string_view shape, std::string_view args) {
  args = Trim(args);
  const size_t open = shape.find('[');
  if (open == std::string_view::npos) return FlatFits(shape, args, '\0');
  if (shape.size() < open + 3 || shape.back() != ']') return false;
  // Without the optional part, or with it (and what it nests).
  const std::string_view head = shape.substr(0, open);
  if (FlatFits(head, args, shape[open + 1])) return true;
  std::string expanded(head);
  expanded += shape.substr(open + 1, shape.size() - open - 2);
  return FitsShape(expanded, args);
}

bool CommandArgumentsFit(int index, const char* line) {
  return FitsShape(kCommandTable[index].Shape, line + ArgumentStart(index, line));
}

StepResult RunCommand(TForm1& f, int index, char* line) {
  const CommandInfo& c = kCommandTable[index];
  if (c.First == CommandFirst::StopAtChoice) ApplyStopAtChoice(f);
  if (c.First == CommandFirst::StopSkipAndAuto) StopSkipAndAuto(f);
  return c.Handler(f, line, line + ArgumentStart(index, line));
}

}  // namespace zk
