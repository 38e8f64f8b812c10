// The developer panel as the platform draws it: the engine hands over a
// snapshot of what the panel shows, and the player's actions on it come back
// through the clock's pump as events of type EventType::DevPanel, in order
// with the rest of the input.
//
// Only a developer build has a panel; otherwise Platform::devPanel is null
// and nothing of it exists.
#pragma once
#include <string>
#include <vector>

#include "platform/Events.h"

namespace platform {

struct DevPanelRow {
  std::string name;       // "Name" column
  std::string value;      // "Value" column
  std::string condition;  // "Condition" column
  bool operator==(const DevPanelRow&) const = default;
};

struct DevPanelSnapshot {
  bool editEnabled = false;    // "編集有効" ticked: "Script Editor" can be pressed
  bool traceMode = false;      // "Trace Mode"
  bool realTimeWatch = false;  // "RealTime Watcher Enable"
  std::string edit1;           // the watch name box (UTF-8)
  int selected = -1;           // selected row of the watch list, -1 none
  std::vector<DevPanelRow> watches;
  bool operator==(const DevPanelSnapshot&) const = default;
};

// What the player did; the event carries it in `button`, with `x` as the
// value (0 or 1 for a check box, the row for SelectWatch) and `text` for
// EditText.
enum class DevPanelAction : int {
  None = 0,
  ScriptEditor,    // "Script Editor"
  FlagEditor,      // "Flag Editor"
  ScriptSelector,  // "Script Selector"
  AddWatch,        // "Add ->"
  DeleteWatch,     // "Del"
  RealTimeWatch,   // "RealTime Watcher Enable" set to x
  TraceMode,       // "Trace Mode" set to x
  EditEnable,      // "編集有効" set to x
  EditText,        // the watch name box now holds text
  SelectWatch,     // row x of the watch list selected (-1: none)
};

Event MakeDevPanelEvent(DevPanelAction action, int value = 0, std::string text = {});
// The action of a DevPanel event; None for anything else or an unknown code.
DevPanelAction DevPanelActionOf(const Event& e);

class DevPanelView {
 public:
  virtual ~DevPanelView() = default;
  // The panel shows this from now on. The engine calls it when something
  // the panel shows has changed, not periodically.
  virtual void Show(const DevPanelSnapshot& snapshot) = 0;
};

}  // namespace platform
