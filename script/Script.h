// What the interpreter offers the engine core: one step of the line
// interpreter, the page reset, starting "main" and the end of the script.
#pragma once

namespace zk {

class TForm1;

void InterpreterStep(TForm1& f);       // one step of the line interpreter
void PageReset(TForm1& f);             // start a new text page
void StartMainScript(TForm1& f);       // load "main" and run it from its first line
bool ScriptFinished(const TForm1& f);  // the outermost script ran past its end

}  // namespace zk
