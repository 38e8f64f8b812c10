#include "platform/sdl/X11Probe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

namespace platform {

bool X11WindowManagerPresent(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  // An EWMH window manager announces itself on the root window. Xlib is
  // already loaded by SDL; its functions are looked up rather than linked.
  using InternAtomFn = Atom (*)(Display*, const char*, Bool);
  using GetWindowPropertyFn = int (*)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*,
                                      unsigned long*, unsigned long*, unsigned char**);
  using FreeFn = int (*)(void*);
  const auto internAtom = reinterpret_cast<InternAtomFn>(dlsym(RTLD_DEFAULT, "XInternAtom"));
  const auto getProperty =
      reinterpret_cast<GetWindowPropertyFn>(dlsym(RTLD_DEFAULT, "XGetWindowProperty"));
  const auto xfree = reinterpret_cast<FreeFn>(dlsym(RTLD_DEFAULT, "XFree"));
  if (!internAtom || !getProperty || !xfree) return true;
  Display* display = info.info.x11.display;
  const Atom check = internAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = getProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                 &type, &format, &items, &after, &data);
  const bool present = status == Success && items == 1;
  if (data) xfree(data);
  return present;
#else
  (void)window;
  return true;
#endif
}

}  // namespace platform
