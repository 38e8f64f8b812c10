// What the interpreter needs from the layers above it. The engine object
// (TForm1) implements it, so the script library never links against them.
#pragma once

namespace zk {

class ScriptHost {
 public:
  // `exitgame`: close the main window through the close query.
  virtual void Close() = 0;
  // A script wrote S000 or S028: the tool bar and menu states follow.
  virtual void RefreshMenuStates() = 0;
  // Skip or auto mode changed: the quick buttons show it.
  virtual void RedrawQuickButtons() = 0;
  // An expression or assignment error (kind 3); silent in play.
  virtual void ReportScriptError(const char* messageUtf8, int kind) = 0;
  // A developer run (ZK_DEVELOPER=1): the dispatcher checks argument shapes.
  virtual bool DeveloperRun() = 0;

 protected:
  ~ScriptHost() = default;
};

}  // namespace zk
