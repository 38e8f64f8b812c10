#include "platform/sdl/SdlTestHooks.h"

#include "platform/sdl/SdlBackend.h"

namespace platform::sdltest {

namespace {

uint32_t WindowId(SdlPlatform& p) {
  return SDL_GetWindowID(p.Backend().Window());
}

}  // namespace

void PushKey(SdlPlatform& p, const char* sdlKeyName, bool down, Mods mods) {
  SDL_Event ev{};
  ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  ev.key.windowID = WindowId(p);
  ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  ev.key.keysym.sym = SDL_GetKeyFromName(sdlKeyName);
  ev.key.keysym.scancode = SDL_GetScancodeFromKey(ev.key.keysym.sym);
  uint16_t mod = 0;
  if (mods.shift) mod |= KMOD_LSHIFT;
  if (mods.ctrl) mod |= KMOD_LCTRL;
  if (mods.alt) mod |= KMOD_LALT;
  if (mods.caps) mod |= KMOD_CAPS;
  ev.key.keysym.mod = mod;
  SDL_PushEvent(&ev);
}

void PushMouseMotion(SdlPlatform& p, int x, int y) {
  SDL_Event ev{};
  ev.type = SDL_MOUSEMOTION;
  ev.motion.windowID = WindowId(p);
  ev.motion.x = x;
  ev.motion.y = y;
  SDL_PushEvent(&ev);
}

void PushMouseButton(SdlPlatform& p, int x, int y, bool right, bool down) {
  SDL_Event ev{};
  ev.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  ev.button.windowID = WindowId(p);
  ev.button.button = right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
  ev.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  ev.button.clicks = 1;
  ev.button.x = x;
  ev.button.y = y;
  SDL_PushEvent(&ev);
}

void PushWheel(SdlPlatform& p, int dy) {
  SDL_Event ev{};
  ev.type = SDL_MOUSEWHEEL;
  ev.wheel.windowID = WindowId(p);
  ev.wheel.y = dy;
  ev.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&ev);
}

void PushTextInput(SdlPlatform& p, const char* utf8) {
  SDL_Event ev{};
  ev.type = SDL_TEXTINPUT;
  ev.text.windowID = WindowId(p);
  SDL_strlcpy(ev.text.text, utf8, sizeof ev.text.text);
  SDL_PushEvent(&ev);
}

void PushQuit(SdlPlatform&) {
  SDL_Event ev{};
  ev.type = SDL_QUIT;
  SDL_PushEvent(&ev);
}

void ResizeWindow(SdlPlatform& p, int w, int h) {
  SDL_SetWindowSize(p.Backend().Window(), w, h);
}

void GetWindowSize(SdlPlatform& p, int& w, int& h) {
  SDL_GetWindowSize(p.Backend().Window(), &w, &h);
}

PixelRect PictureRect(SdlPlatform& p) {
  return p.Backend().PictureRect();
}
PixelRect ToolbarButtonRect(SdlPlatform& p, int button) {
  return p.Backend().ToolbarButtonRect(button);
}
PixelRect MenuItemRect(SdlPlatform& p, int index) {
  return p.Backend().MenuItemRect(index);
}
PixelRect DevPanelRect(SdlPlatform& p) {
  return p.Backend().DevPanelRect();
}
PixelRect DevPanelWidgetRect(SdlPlatform& p, const char* name) {
  return p.Backend().DevPanelWidgetRect(name);
}
int PresentCount(SdlPlatform& p) {
  return p.Backend().PresentCount();
}
bool IsSoftwareRenderer(SdlPlatform& p) {
  return p.Backend().IsSoftware();
}
bool UiReady(SdlPlatform& p) {
  return p.Backend().UiReady();
}

std::vector<uint32_t> ReadWindow(SdlPlatform& p, int& w, int& h) {
  SDL_Renderer* r = p.Backend().Renderer();
  w = h = 0;
  if (SDL_GetRendererOutputSize(r, &w, &h) != 0) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), w * 4) != 0)
    return {};
  for (uint32_t& px : pixels) px &= 0xFFFFFF;
  return pixels;
}

}  // namespace platform::sdltest
