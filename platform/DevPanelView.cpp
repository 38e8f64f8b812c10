#include "platform/DevPanelView.h"

#include <utility>

namespace platform {

Event MakeDevPanelEvent(DevPanelAction action, int value, std::string text) {
  Event e;
  e.type = EventType::DevPanel;
  e.button = static_cast<int>(action);
  e.x = value;
  e.text = std::move(text);
  return e;
}

DevPanelAction DevPanelActionOf(const Event& e) {
  if (e.type != EventType::DevPanel) return DevPanelAction::None;
  if (e.button <= 0 || e.button > static_cast<int>(DevPanelAction::SelectWatch))
    return DevPanelAction::None;
  return static_cast<DevPanelAction>(e.button);
}

}  // namespace platform
