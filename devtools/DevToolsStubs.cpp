// Do-nothing versions of the developer tools (devtools/DevTools.h) until
// they land.
#include "devtools/DevTools.h"

namespace zk {

int32_t RunScriptEditor(TForm1&, int32_t offset) {
  return offset;
}
void ShowVariableEditor(TForm1&) {}
bool RunScriptSelector(TForm1&, std::string&) {
  return false;
}
void ReportScriptError(TForm1&, const char*, int) {}
void ResetPageText(TForm1&) {}
void LoadAndStartScript(TForm1&, const char*) {}

}  // namespace zk
