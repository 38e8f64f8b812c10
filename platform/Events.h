// Input and window events as the engine sees them, in game-screen pixels.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kScreenStride = kScreenWidth * 3;
constexpr uint32_t kTimerIntervalMs = 55;

// Key codes: 'A'..'Z' and '0'..'9' stand for themselves; the rest follow.
enum Key : int {
  kKeyNone = 0,
  kKeyEnter = 256,
  kKeyEscape,
  kKeySpace,
  kKeyTab,
  kKeyBackspace,
  kKeyUp,
  kKeyDown,
  kKeyLeft,
  kKeyRight,
  kKeyCtrl,
  kKeyShift,
  kKeyF1,  // kKeyF1 + n - 1 is Fn, n = 1..12
  kKeyF12 = kKeyF1 + 11,
};

// Parses a key name of the events file ("A", "7", "Enter", "F5" ...); kKeyNone if unknown.
int KeyFromName(const std::string& name);
const char* KeyName(int key);

enum class EventType {
  MouseDown,      // x, y, right
  MouseUp,        // x, y, right
  MouseMove,      // x, y
  Wheel,          // delta (+1 up, -1 down)
  KeyDown,        // key
  KeyUp,          // key
  KeyPress,       // ch: the character a key produced ('\r', '\b', 0x1b, ' ', letters)
  CloseRequest,   // the window's close button
  ToolbarButton,  // button: 1 quit, 2 settings, 3 save, 4 load (SpeedButton1..4)
  Expose,         // the window needs repainting
  DevPanel,       // button: a DevPanelAction, x its value, text (platform/DevPanelView.h)
  FullScreen,     // button: 1 toggles full screen (Alt+Enter, F11), 0 leaves it (Escape)
  // Harness-only events from an events file:
  Screenshot,  // text: file
  Dump,        // text: file
  Answer,      // text: the next dialog's answer
};

struct Event {
  EventType type = EventType::MouseMove;
  int x = 0, y = 0;
  bool right = false;
  int delta = 0;
  int key = kKeyNone;
  int ch = 0;
  int button = 0;
  std::string text;
};

}  // namespace platform
