// Hooks for tests of the SDL platform: synthetic input through SDL's own
// event queue (so the real translation runs), and read-back of the window.
// Meant for SDL's dummy video driver (SDL_VIDEODRIVER=dummy).
#pragma once
#include <cstdint>
#include <vector>

#include "platform/sdl/Layout.h"
#include "platform/sdl/SdlPlatform.h"

namespace platform::sdltest {

struct Mods {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool caps = false;
};

// sdlKeyName is an SDL key name ("Return", "A", "Left Ctrl", "F5" ...).
void PushKey(SdlPlatform& p, const char* sdlKeyName, bool down, Mods mods = {});
// Coordinates are window pixels.
void PushMouseMotion(SdlPlatform& p, int x, int y);
void PushMouseButton(SdlPlatform& p, int x, int y, bool right, bool down);
void PushWheel(SdlPlatform& p, int dy);
// Typed text, as an input method delivers it (only while a text box has the
// keyboard).
void PushTextInput(SdlPlatform& p, const char* utf8);
void PushQuit(SdlPlatform& p);
// Resizes the window as the user would.
void ResizeWindow(SdlPlatform& p, int w, int h);

void GetWindowSize(SdlPlatform& p, int& w, int& h);
PixelRect PictureRect(SdlPlatform& p);
PixelRect ToolbarButtonRect(SdlPlatform& p, int button);
// A row of the popup menu that is open (call it from inside the dialog's
// loop, e.g. from the timer handler); empty when no menu is open.
PixelRect MenuItemRect(SdlPlatform& p, int index);
// The developer panel's column and a widget in it as last drawn (names in
// SdlDevPanel.h); empty without a panel.
PixelRect DevPanelRect(SdlPlatform& p);
PixelRect DevPanelWidgetRect(SdlPlatform& p, const char* name);
int PresentCount(SdlPlatform& p);
bool IsSoftwareRenderer(SdlPlatform& p);
bool UiReady(SdlPlatform& p);
// The presented window as 0xRRGGBB values, row by row.
std::vector<uint32_t> ReadWindow(SdlPlatform& p, int& w, int& h);

}  // namespace platform::sdltest
