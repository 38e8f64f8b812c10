// The developer panel drawn with Dear ImGui in a column at the right of the
// window, beside the game area. Internal to platform/sdl: the backend creates
// it only when a developer build asks for it (SdlPlatform::EnableDevPanel),
// draws it inside its ImGui frames, and routes pointer, wheel and typing to
// it. The panel shows the engine's snapshot and turns the player's clicks
// into DevPanel events; it keeps no state of the engine's own.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/DevPanelView.h"
#include "platform/sdl/Layout.h"

namespace platform {

class SdlBackend;

// Width of the panel column in output pixels.
constexpr int kDevPanelWidth = 300;

class SdlDevPanel final : public DevPanelView {
 public:
  explicit SdlDevPanel(SdlBackend& backend) : backend_(backend) {}

  void Show(const DevPanelSnapshot& snapshot) override;

  // Draws the panel into the current ImGui frame; without inputs while a
  // dialog is up.
  void Draw(const PixelRect& rect, bool inputs);
  // The watch name box has the keyboard: key presses are its, not the game's.
  bool Typing() const { return typing_; }
  // A press elsewhere in the window: the box gives up the keyboard.
  void DropFocus() { dropFocus_ = true; }
  // Where a widget was drawn last, in output pixels; empty if it was not.
  // Names: "Button1".."Button5", "CheckBox1".."CheckBox3", "Edit1", "Row<n>".
  PixelRect WidgetRect(std::string_view name) const;

 private:
  void Act(DevPanelAction action, int value = 0, std::string text = {});
  void Record(std::string name);

  SdlBackend& backend_;
  DevPanelSnapshot shown_;
  bool first_ = true;
  // The box's text belongs to the panel; the engine's copy follows it
  // through EditText events.
  std::array<char, 256> edit_{};
  std::string reported_;  // the box's text as last sent
  bool typing_ = false;
  bool dropFocus_ = false;
  std::vector<std::pair<std::string, PixelRect>> rects_;
};

}  // namespace platform
