// The dispatcher's entry points of the graphics commands.
#include <cctype>
#include <cstring>
#include <string>

#include "graphics/Graphics.h"
#include "script/CommandHandlers.h"
#include "script/Expressions.h"

namespace zk {

StepResult CmdGra(TForm1& f, char*, char* args) {
  return GraCommand(f, args);
}
StepResult CmdGrb(TForm1& f, char*, char* args) {
  return GrbCommand(f, args);
}
StepResult CmdBg(TForm1& f, char*, char* args) {
  return BgCommand(f, args);
}
StepResult CmdClrb(TForm1& f, char*, char* args) {
  return ClrbCommand(f, args);
}
StepResult CmdSpr(TForm1& f, char*, char* args) {
  return SprCommand(f, args);
}
StepResult CmdOvr(TForm1& f, char*, char* args) {
  return OvrCommand(f, args);
}
StepResult CmdPartsload(TForm1& f, char*, char* args) {
  return PartsloadCommand(f, args);
}
StepResult CmdDirect(TForm1& f, char*, char* args) {
  return DirectCommand(f, args);
}
StepResult CmdScroll(TForm1& f, char*, char* args) {
  return ScrollCommand(f, args);
}

// Six expressions x1, y1, x2, y2, dx, dy; missing ones are 0.
StepResult CmdPtset(TForm1& f, char*, char* args) {
  std::string text(args);
  for (char& c : text)
    c = c == '\t' ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  int32_t v[6] = {};
  size_t pos = 0;
  for (int i = 0; i < 6 && pos <= text.size(); ++i) {
    size_t stop = 0;
    v[i] = Evaluate(f, std::string_view(text).substr(pos), &stop);
    pos += stop;
    if (pos >= text.size() || text[pos] != ',') break;
    ++pos;
  }
  PtsetDraw(f, v[0], v[1], v[2], v[3], v[4], v[5]);
  return kStepContinue;
}

}  // namespace zk
