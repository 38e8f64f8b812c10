// What the developer tools offer the engine: the variable editor, the script
// editor, the script selector, the error report and the restart of a script
// from the developer panel. Until they land, devtools/DevToolsStubs.cpp
// keeps do-nothing versions.
#pragma once
#include <cstdint>
#include <string>

namespace zk {

class TForm1;

// Modal; returns the script offset to continue at.
int32_t RunScriptEditor(TForm1& f, int32_t offset);
void ShowVariableEditor(TForm1& f);
// Modal; false when cancelled, else the chosen script's name.
bool RunScriptSelector(TForm1& f, std::string& chosen);
// An expression or assignment error (kind 3); silent in play.
void ReportScriptError(TForm1& f, const char* messageUtf8, int kind);
// The developer panel's restart: the text state of a page reset with nothing
// drawn, and loading a script to run it from its start.
void ResetPageText(TForm1& f);
void LoadAndStartScript(TForm1& f, const char* name);

}  // namespace zk
