// [SECTION] creation, renderer choice, clock and event translation.
#include "platform/sdl/SdlBackend.h"

#include <dirent.h>
#include <strings.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/SdlDevPanel.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/UiFont.h"

namespace platform {

// ============================================================ [SECTION] Renderer choice

RendererKind ChooseRenderer() {
  if (const char* env = std::getenv("ZK_RENDERER")) {
    if (strcasecmp(env, "software") == 0) return RendererKind::Software;
    if (strcasecmp(env, "accelerated") == 0) return RendererKind::Accelerated;
  }
  // A GPU driver exposes render nodes; without one, SDL's accelerated path
  // would only find a software OpenGL, which is large and slow to load.
  bool renderNode = false;
  if (DIR* dir = opendir("/dev/dri")) {
    while (const dirent* entry = readdir(dir)) {
      if (std::strncmp(entry->d_name, "renderD", 7) == 0) {
        renderNode = true;
        break;
      }
    }
    closedir(dir);
  }
  return renderNode ? RendererKind::Accelerated : RendererKind::Software;
}

// ============================================================ [SECTION] Creation

namespace {

// The 32-bit formats whose memory order is blue, green, red, x: the
// converter writes those directly.
bool IsXrgbLayout(uint32_t format) {
  return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::Create(const SdlOptions& options, std::string& error) {
  std::unique_ptr<SdlBackend> b(new SdlBackend);
  b->kind_ = ChooseRenderer();
  b->frame_.assign(static_cast<size_t>(kScreenStride) * kScreenHeight, 0);
  b->rowHash_.assign(kScreenHeight, 0);

  if (b->kind_ == RendererKind::Software) {
    // Keep SDL from probing OpenGL for the window surface.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  }
  // SIGINT and SIGTERM end the process as they end any program, instead of
  // becoming a close request that asks the player a question.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  b->videoInit_ = true;
  const char* requested = std::getenv("SDL_VIDEODRIVER");
  const char* driver = SDL_GetCurrentVideoDriver();
  error = RefuseInvisibleDriver(driver ? driver : "", requested && *requested);
  if (!error.empty()) return nullptr;

  const std::string title = options.title.empty() ? std::string("Zelkor") : options.title;
  b->window_ =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth,
                       kScreenHeight + kToolbarReserve, SDL_WINDOW_RESIZABLE);
  if (!b->window_) {
    error = SDL_GetError();
    return nullptr;
  }
  SDL_SetWindowMinimumSize(b->window_, kMinPictureWidth, kMinPictureHeight + kToolbarReserve);

  if (b->kind_ == RendererKind::Accelerated) {
    b->renderer_ = SDL_CreateRenderer(b->window_, -1, SDL_RENDERER_ACCELERATED);
    if (!b->renderer_) {
      b->kind_ = RendererKind::Software;
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
  }
  if (!b->renderer_) b->renderer_ = SDL_CreateRenderer(b->window_, -1, SDL_RENDERER_SOFTWARE);
  if (!b->renderer_) {
    error = SDL_GetError();
    return nullptr;
  }

  // Text is taken from key presses; an input method would only get in the way.
  SDL_StopTextInput();

  const uint32_t windowFormat = SDL_GetWindowPixelFormat(b->window_);
  b->textureFormat_ = b->kind_ == RendererKind::Software && IsXrgbLayout(windowFormat)
                          ? windowFormat
                          : static_cast<uint32_t>(SDL_PIXELFORMAT_ARGB8888);
  b->RecreateTextures();
  if (!b->texture_) {
    error = SDL_GetError();
    return nullptr;
  }
  b->UpdateLayout();
  return b;
}

SdlBackend::~SdlBackend() {
  ShutdownUi();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (videoInit_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// ============================================================ [SECTION] Clock

uint32_t SdlBackend::NowMs() {
  return SDL_GetTicks();
}

void SdlBackend::SleepMs(uint32_t ms) {
  SDL_Delay(ms);
}

bool SdlBackend::PollEvent(Event& e) {
  for (;;) {
    if (!pending_.empty()) {
      e = std::move(pending_.front());
      pending_.pop_front();
      return true;
    }
    // Reading the display connection costs a dozen system calls; every few
    // milliseconds is often enough (a wait reads it anyway, and so does the
    // next idle pass or effect frame). In between only what is already
    // queued is taken.
    const uint32_t now = SDL_GetTicks();
    SDL_Event ev;
    int got;
    if (lastPumpMs_ != kNeverPumped && now - lastPumpMs_ < kPumpIntervalMs) {
      got = SDL_PeepEvents(&ev, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    } else {
      got = SDL_PollEvent(&ev);
      if (got == 0) lastPumpMs_ = now;
    }
    if (got <= 0) break;
    Translate(ev);
  }
  FlushDeferred();
  if (pending_.empty()) return false;
  e = std::move(pending_.front());
  pending_.pop_front();
  return true;
}

void SdlBackend::WaitUntil(uint32_t deadlineMs) {
  FlushDeferred();
  if (!pending_.empty()) return;
  WaitForSdlEvent(deadlineMs);
}

void SdlBackend::WaitForSdlEvent(uint32_t deadlineMs) {
  for (;;) {
    const uint32_t now = SDL_GetTicks();
    if (deadlineMs != UINT32_MAX && now >= deadlineMs) return;
    const int timeout = deadlineMs == UINT32_MAX
                            ? -1
                            : static_cast<int>(std::min<uint32_t>(deadlineMs - now, INT_MAX));
    // Blocks in the video driver (poll on the display connection) until an
    // event arrives; nothing runs meanwhile.
    const int got = SDL_WaitEventTimeout(nullptr, timeout);
    lastPumpMs_ = got ? kNeverPumped : SDL_GetTicks();
    if (got) return;
  }
}

void SdlBackend::FlushDeferred() {
  if ((toolbarVisible_ || devPanel_ || !notice_.empty()) && !UiReady() && presentedOnce_) {
    // The tool bar text needs ImGui and the font; it is drawn after the first
    // frame is on screen so that start-up does not wait for them.
    EnsureUi();
    uiDirty_ = true;
  }
  if (uiDirty_) {
    uiDirty_ = false;
    if (RunUiFrames()) needRender_ = true;
  }
  if (needRender_ && (presentedOnce_ || modal_)) Render();
}

std::string RefuseInvisibleDriver(const std::string& driver, bool userChose) {
  // SDL falls back to these when no display can be reached; a window there
  // would run unseen. Tests and tools ask for them by name.
  static const char* const kInvisible[] = {"dummy", "offscreen", "evdev"};
  if (userChose) return {};
  for (const char* name : kInvisible)
    if (SDL_strcasecmp(driver.c_str(), name) == 0)
      return "no display: SDL could only offer its \"" + driver +
             "\" video driver, which shows nothing";
  return {};
}

// ============================================================ [SECTION] Key tables

int TranslateSdlKey(SDL_Keycode sym) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return kKeyF1 + (sym - SDLK_F1);
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
      return kKeyEnter;
    case SDLK_ESCAPE:
      return kKeyEscape;
    case SDLK_SPACE:
      return kKeySpace;
    case SDLK_TAB:
      return kKeyTab;
    case SDLK_BACKSPACE:
      return kKeyBackspace;
    case SDLK_UP:
      return kKeyUp;
    case SDLK_DOWN:
      return kKeyDown;
    case SDLK_LEFT:
      return kKeyLeft;
    case SDLK_RIGHT:
      return kKeyRight;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return kKeyCtrl;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return kKeyShift;
    default:
      return kKeyNone;
  }
}

int KeyPressChar(int key, uint16_t mod) {
  // With Ctrl or Alt held a letter or digit is a shortcut, not a character.
  const bool chord = (mod & (KMOD_CTRL | KMOD_ALT)) != 0;
  if (key >= 'A' && key <= 'Z') {
    if (chord) return 0;
    const bool upper = ((mod & KMOD_SHIFT) != 0) != ((mod & KMOD_CAPS) != 0);
    return upper ? key : key - 'A' + 'a';
  }
  if (key >= '0' && key <= '9') return chord || (mod & KMOD_SHIFT) ? 0 : key;
  switch (key) {
    case kKeyEnter:
      return '\r';
    case kKeyBackspace:
      return '\b';
    case kKeyEscape:
      return 0x1b;
    case kKeySpace:
      return ' ';
    case kKeyTab:
      return '\t';
    default:
      return 0;
  }
}

// ============================================================ [SECTION] Event translation

void SdlBackend::ToOutput(int& x, int& y) const {
  if (windowW_ > 0 && windowH_ > 0 && (windowW_ != outputW_ || windowH_ != outputH_)) {
    x = static_cast<int>(static_cast<int64_t>(x) * outputW_ / windowW_);
    y = static_cast<int>(static_cast<int64_t>(y) * outputH_ / windowH_);
  }
}

void SdlBackend::Translate(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_QUIT: {
      Event e;
      e.type = EventType::CloseRequest;
      Push(e);
      break;
    }
    case SDL_WINDOWEVENT:
      HandleWindowEvent(ev.window);
      break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      TranslateMouse(ev);
      break;
    case SDL_MOUSEWHEEL: {
      int dy = ev.wheel.y;
      if (ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) dy = -dy;
      if (dy == 0 || DevPanelTakesWheel(dy)) break;
      Event e;
      e.type = EventType::Wheel;
      e.delta = dy > 0 ? 1 : -1;
      Push(e);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (UiReady()) FeedUiKey(ev.key);
      if (DevPanelTakesKey(ev.key)) break;
      TranslateKey(ev.key);
      break;
    case SDL_TEXTINPUT:
      DevPanelText(ev.text.text);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      RecreateTextures();
      needRender_ = true;
      break;
    default:
      break;
  }
}

void SdlBackend::HandleWindowEvent(const SDL_WindowEvent& w) {
  switch (w.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED: {
      UpdateLayout();
      needRender_ = true;
      if (UiReady()) uiDirty_ = true;
      // One repaint request for a burst of window events.
      if (pending_.empty() || pending_.back().type != EventType::Expose) {
        Event e;
        e.type = EventType::Expose;
        Push(e);
      }
      break;
    }
    case SDL_WINDOWEVENT_LEAVE:
      if (pointerInToolbar_ && UiReady()) {
        pointerInToolbar_ = false;
        uiDirty_ = true;
        FeedUiMouse(SDL_MOUSEMOTION, -100000, -100000, 0);
      }
      break;
    default:
      break;
  }
}

void SdlBackend::TranslateMouse(const SDL_Event& ev) {
  int x = ev.type == SDL_MOUSEMOTION ? ev.motion.x : ev.button.x;
  int y = ev.type == SDL_MOUSEMOTION ? ev.motion.y : ev.button.y;
  ToOutput(x, y);
  int bit = 0;
  if (ev.type != SDL_MOUSEMOTION) {
    if (ev.button.button == SDL_BUTTON_LEFT)
      bit = 1;
    else if (ev.button.button == SDL_BUTTON_RIGHT)
      bit = 2;
    else
      return;  // other buttons mean nothing to the engine
  }
  if (ev.type == SDL_MOUSEBUTTONDOWN) DismissNotice();

  // The tool bar takes the pointer while it is over it, and keeps a press
  // that began on it until the button is released. A release whose press
  // went to the game goes to the game wherever it happens.
  // The developer panel takes the pointer the same way.
  const bool overToolbar =
      (toolbarVisible_ && y >= 0 && y < kToolbarHeight && x >= 0 && x < outputW_) ||
      DevPanelRect().Contains(x, y);
  const bool engineUp = ev.type == SDL_MOUSEBUTTONUP && (engineButtons_ & bit);
  const bool toToolbar = !engineUp && (overToolbar || toolbarCapture_);
  const bool leaving = pointerInToolbar_ && !overToolbar;
  if (toToolbar || leaving) {
    if (ev.type == SDL_MOUSEBUTTONDOWN && overToolbar) toolbarCapture_ = true;
    if (ev.type == SDL_MOUSEBUTTONUP) toolbarCapture_ = false;
    pointerInToolbar_ = overToolbar;
    if (EnsureUi()) FeedUiPointer(ev.type, x, y, ev.type == SDL_MOUSEMOTION ? 0 : ev.button.button);
    if (toToolbar) return;
  }
  if (ev.type == SDL_MOUSEBUTTONDOWN) DevPanelPressElsewhere();

  Event e;
  WindowToGame(area_, x, y, e.x, e.y);
  ClampToGame(e.x, e.y);
  switch (ev.type) {
    case SDL_MOUSEMOTION: {
      // Only the latest position of a burst of motion matters.
      SDL_Event next;
      if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
          next.type == SDL_MOUSEMOTION)
        return;
      e.type = EventType::MouseMove;
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      e.type = EventType::MouseDown;
      e.right = bit == 2;
      engineButtons_ |= bit;
      break;
    default:
      if (!(engineButtons_ & bit)) return;
      e.type = EventType::MouseUp;
      e.right = bit == 2;
      engineButtons_ &= ~bit;
      break;
  }
  Push(e);
}

void SdlBackend::TranslateKey(const SDL_KeyboardEvent& k) {
  // The desktop's own keys for full screen, which the game's key table
  // leaves free: Alt+Enter and F11 toggle it, Escape leaves it. They do not
  // reach the game.
  const bool alt = (k.keysym.mod & KMOD_ALT) != 0;
  const bool toggle = k.keysym.sym == SDLK_F11 ||
                      (alt && (k.keysym.sym == SDLK_RETURN || k.keysym.sym == SDLK_KP_ENTER));
  const bool leave = k.keysym.sym == SDLK_ESCAPE && fullScreen_;
  if (toggle || leave) {
    if (k.type == SDL_KEYDOWN && !k.repeat) {
      Event e;
      e.type = EventType::FullScreen;
      e.button = toggle ? 1 : 0;
      Push(e);
    }
    return;
  }
  const int key = TranslateSdlKey(k.keysym.sym);
  if (key == kKeyNone) return;
  Event e;
  e.key = key;
  if (k.type == SDL_KEYUP) {
    e.type = EventType::KeyUp;
    Push(e);
    return;
  }
  e.type = EventType::KeyDown;
  Push(e);
  if (const int ch = KeyPressChar(key, k.keysym.mod)) {
    e.type = EventType::KeyPress;
    e.ch = ch;
    Push(e);
  }
}

// ============================================================ [SECTION] SdlPlatform

SdlPlatform::SdlPlatform(std::unique_ptr<SdlBackend> backend) : backend_(std::move(backend)) {}
SdlPlatform::~SdlPlatform() = default;

std::unique_ptr<SdlPlatform> SdlPlatform::Create(const SdlOptions& options, std::string& error) {
  auto backend = SdlBackend::Create(options, error);
  if (!backend) return nullptr;
  return std::unique_ptr<SdlPlatform>(new SdlPlatform(std::move(backend)));
}

Clock& SdlPlatform::GetClock() {
  return *backend_;
}
Display& SdlPlatform::GetDisplay() {
  return *backend_;
}
Ui& SdlPlatform::GetUi() {
  return *backend_;
}

}  // namespace platform
