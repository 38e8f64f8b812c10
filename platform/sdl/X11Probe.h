// Questions to the X11 display that SDL does not answer. Kept apart because
// the X11 headers define macros (None, Expose, Display ...) that clash with
// our own names.
#pragma once

struct SDL_Window;

namespace platform {

// False when the window is on an X11 display without a window manager (so
// that nobody answers a full-screen request); true otherwise.
bool X11WindowManagerPresent(SDL_Window* window);

}  // namespace platform
