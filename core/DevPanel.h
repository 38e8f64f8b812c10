// The developer panel of the main window: buttons to the developer tools, the
// trace-mode switch and a watch list of variables, with its settings in the
// "DBG" section of the developer settings file (dbg.ini beside the settings
// file).
//
// Only a developer build has it (ZK_DEVELOPER=1 in the environment). A
// platform that draws panels (Platform::devPanel) shows it beside the game
// area: this class sends it a snapshot whenever what it shows changed and
// runs the actions that come back as events. Without one, the key D opens
// the panel's entries as a menu.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DevPanelView.h"

namespace zk {

class TForm1;
struct EngineState;

struct WatchItem {
  std::string Name;       // upper case, e.g. "S026"
  std::string Value;      // shown in the "Value" column
  std::string Condition;  // the "Condition" column (kept, not evaluated)
};

// The current value of a watch name Ennn, Fnnn, Snnn or Vnnn as text; false
// for any other name or a number outside the bank.
bool WatchValue(const EngineState& s, const std::string& name, std::string& value);
// The watch list of the developer panel follows the game (every 16 ticks
// while the real-time watcher is on).
void WatchPanelRefresh(TForm1& f);

class DevPanel {
 public:
  static bool DeveloperBuild();

  // The developer settings file; empty keeps everything in memory.
  void SetFilePath(std::string path);
  // Reads "DBG_EDIT_ENA" and the watch list once.
  void Load(TForm1& f);
  // Shows the panel as a menu through the UI and runs the chosen entry (for
  // platforms without a panel view).
  void Open(TForm1& f);
  // Puts the current values into the watch list.
  void RefreshWatches(TForm1& f);
  // While trace mode is on, the line the interpreter ran last: its offset and
  // its kind, for a command the keyword and argument shape. Empty otherwise.
  std::string TraceLine(const TForm1& f) const;

  // What the panel shows now.
  platform::DevPanelSnapshot Snapshot(const TForm1& f) const;
  // Hands the snapshot to the platform's panel when it differs from the one
  // shown last; the first call reads the settings file. Nothing without a panel.
  void Sync(TForm1& f);
  bool Shown() const { return shown_; }
  // An action of the platform's panel (an EventType::DevPanel event).
  void HandleAction(TForm1& f, const platform::Event& e);

  // The panel's widgets.
  void Button1Click(TForm1& f);             // "Script Editor"
  void Button2Click(TForm1& f);             // "Flag Editor"
  void Button3Click(TForm1& f);             // "Script Selector"
  void Button4Click(TForm1& f);             // "Add ->": Edit1 into the watch list
  void Button5Click(TForm1& f);             // "Del": the selected watch item
  void CheckBox1Click(TForm1& f, bool on);  // "RealTime Watcher Enable"
  void CheckBox2Click(TForm1& f, bool on);  // "Trace Mode"
  void CheckBox3Click(TForm1& f, bool on);  // "編集有効": enables "Script Editor"

  std::string Edit1;  // text of the watch name box
  int Selected = -1;  // selected watch item, -1 none
  bool EditEnabled = false;
  bool RealTimeWatch = false;
  std::vector<WatchItem> Watches;

 private:
  void ResolvePath(TForm1& f);
  void WriteWatches();
  bool loaded_ = false;
  bool shown_ = false;
  platform::DevPanelSnapshot last_;  // as last handed to the panel
  bool pathSet_ = false;
  std::string path_;
};

}  // namespace zk
