// [SECTION] frame upload, layout and drawing of the window (Display).
#include <algorithm>
#include <cstring>

#include "platform/sdl/PixelConvert.h"
#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/X11Probe.h"

namespace platform {

namespace {

// The tool bar panel and the window background in window mode.
constexpr uint8_t kPanelGrey = 0xF0;

SDL_Rect ToSdl(const PixelRect& r) {
  return SDL_Rect{r.x, r.y, r.w, r.h};
}

}  // namespace

void SdlBackend::RecreateTextures() {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, textureFormat_, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                               kScreenHeight);
  if (!texture_) return;
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
  textureStale_ = true;
}

void SdlBackend::UploadRows(int top, int bottom) {
  // Only the changed band is locked: a streaming texture of an accelerated
  // renderer then uploads just that band.
  const SDL_Rect band{0, top, kScreenWidth, bottom - top};
  void* pixels = nullptr;
  int pitch = 0;
  if (!texture_ || SDL_LockTexture(texture_, &band, &pixels, &pitch) != 0) return;
  ConvertFrame(frame_.data() + static_cast<size_t>(top) * kScreenStride, kScreenStride,
               static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch), kScreenWidth,
               bottom - top);
  SDL_UnlockTexture(texture_);
}

void SdlBackend::UpdateLayout() {
  SDL_GetWindowSize(window_, &windowW_, &windowH_);
  if (SDL_GetRendererOutputSize(renderer_, &outputW_, &outputH_) != 0) {
    outputW_ = windowW_;
    outputH_ = windowH_;
  }
  area_ = FitGameArea(outputW_ - DevPanelWidth(), outputH_, fullScreen_ ? 0 : kToolbarReserve);
}

void SdlBackend::Render() {
  needRender_ = false;
  if (textureStale_) UploadAll();
  const PixelRect picture = PictureRect();
  PixelRect bands[4];
  const int n = UncoveredBands(outputW_, outputH_, picture, bands);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  for (int i = 0; i < n; ++i) {
    const SDL_Rect r = ToSdl(bands[i]);
    SDL_RenderFillRect(renderer_, &r);
  }
  const SDL_Rect dst = ToSdl(picture);
  SDL_RenderCopy(renderer_, texture_, nullptr, &dst);

  SDL_SetRenderDrawColor(renderer_, kPanelGrey, kPanelGrey, kPanelGrey, 255);
  if (!fullScreen_) {
    // The strip above the picture belongs to the window, not to the game.
    const SDL_Rect strip{0, 0, outputW_, kToolbarReserve};
    SDL_RenderFillRect(renderer_, &strip);
  } else if (toolbarVisible_ && !UiReady()) {
    const SDL_Rect strip{0, 0, outputW_, kToolbarHeight};
    SDL_RenderFillRect(renderer_, &strip);
  }
  if (UiReady() && UiWanted()) RenderUi();

  SDL_RenderPresent(renderer_);
  ++presents_;
  presentedOnce_ = true;
  uiPresentedHash_ = uiFrameHash_;
}

bool SdlBackend::WindowManagerPresent() const {
  return X11WindowManagerPresent(window_);
}

// ============================================================ [SECTION] Display

void SdlBackend::Present() {
  PresentRows(0, kScreenHeight);
}

void SdlBackend::PresentRect(int x, int y, int w, int h) {
  (void)x;
  (void)w;
  const int top = std::clamp(y, 0, kScreenHeight);
  const int bottom = std::clamp(y + std::max(h, 0), top, kScreenHeight);
  PresentRows(top, bottom);
}

void SdlBackend::UploadAll() {
  for (int y = 0; y < kScreenHeight; ++y)
    rowHash_[y] = HashBytes(frame_.data() + static_cast<size_t>(y) * kScreenStride, kScreenStride);
  UploadRows(0, kScreenHeight);
  textureStale_ = false;
}

void SdlBackend::PresentRows(int top, int bottom) {
  // Rows whose fingerprint changed are converted; an unchanged frame costs
  // one read of the rows and no drawing at all.
  int first = -1, last = -1;
  if (textureStale_) {
    UploadAll();
    first = 0;
    last = kScreenHeight - 1;
  } else {
    for (int y = top; y < bottom; ++y) {
      const uint64_t h =
          HashBytes(frame_.data() + static_cast<size_t>(y) * kScreenStride, kScreenStride);
      if (h != rowHash_[y]) {
        rowHash_[y] = h;
        if (first < 0) first = y;
        last = y;
      }
    }
    if (first >= 0) UploadRows(first, last + 1);
  }
  if (uiDirty_) {
    uiDirty_ = false;
    if (RunUiFrames()) needRender_ = true;
  }
  if (needRender_ || !presentedOnce_ || (first >= 0 && !CanPresentPartially())) {
    Render();
  } else if (first >= 0) {
    // The window keeps what was drawn before: copy just the changed band,
    // and send just that band to the display (the software renderer draws
    // into the window surface, and its present would send the whole window).
    const SDL_Rect src{0, first, kScreenWidth, last + 1 - first};
    const SDL_Rect dst{area_.x, area_.y + first, kScreenWidth, last + 1 - first};
    SDL_RenderCopy(renderer_, texture_, &src, &dst);
    SDL_RenderFlush(renderer_);
    if (SDL_UpdateWindowSurfaceRects(window_, &dst, 1) != 0) SDL_RenderPresent(renderer_);
    ++presents_;
  }
}

bool SdlBackend::CanPresentPartially() const {
  // Only the software renderer keeps the window's pixels between presents,
  // and only an unscaled, unshaken picture with nothing drawn over it can be
  // patched band by band.
  return IsSoftware() && area_.w == kScreenWidth && area_.h == kScreenHeight && shakeX_ == 0 &&
         shakeY_ == 0 && !box_ && !menu_ && !(fullScreen_ && toolbarVisible_);
}

bool SdlBackend::SetFullScreen(int mode) {
  if (mode == 0) {
    if (fullScreen_) {
      if (coverWindow_) {
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowPosition(window_, savedX_, savedY_);
      } else if (SDL_SetWindowFullscreen(window_, 0) != 0) {
        return false;
      }
      // Back to the window's own size (not every video driver restores it).
      SDL_SetWindowSize(window_, savedW_, savedH_);
    }
    fullScreen_ = false;
    coverWindow_ = false;
    toolbarVisible_ = true;
  } else if (!fullScreen_) {
    // Both full-screen modes fill the desktop at its own resolution and
    // scale the picture; the display mode is never changed.
    SDL_GetWindowSize(window_, &savedW_, &savedH_);
    SDL_GetWindowPosition(window_, &savedX_, &savedY_);
    if (WindowManagerPresent()) {
      if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    } else {
      // Without a window manager nobody answers a full-screen request: a
      // borderless window over the whole display does the same.
      SDL_Rect bounds;
      const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
      if (SDL_GetDisplayBounds(display, &bounds) != 0) return false;
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowPosition(window_, bounds.x, bounds.y);
      SDL_SetWindowSize(window_, bounds.w, bounds.h);
      coverWindow_ = true;
    }
    fullScreen_ = true;
    toolbarVisible_ = false;
  }
  UpdateLayout();
  needRender_ = true;
  if (UiReady()) uiDirty_ = true;
  return true;
}

void SdlBackend::SetToolbarVisible(bool visible) {
  if (visible == toolbarVisible_) return;
  toolbarVisible_ = visible;
  needRender_ = true;
  if (UiReady()) uiDirty_ = true;
  if (!visible) {
    pointerInToolbar_ = false;
    toolbarCapture_ = false;
  }
}

void SdlBackend::SetToolbarEnabled(bool panel, bool quit, bool settings, bool save, bool load) {
  const bool next[5] = {panel, quit, settings, save, load};
  if (std::memcmp(next, toolbarEnabled_, sizeof next) == 0) return;
  std::memcpy(toolbarEnabled_, next, sizeof next);
  if (UiReady()) uiDirty_ = true;
}

void SdlBackend::SetTitle(std::string_view utf8) {
  SDL_SetWindowTitle(window_, std::string(utf8).c_str());
}

void SdlBackend::SetShakeOffset(int dx, int dy) {
  if (dx == shakeX_ && dy == shakeY_) return;
  shakeX_ = dx;
  shakeY_ = dy;
  needRender_ = true;
}

void SdlBackend::GetDesktopSize(int& width, int& height) {
  SDL_DisplayMode mode;
  int index = SDL_GetWindowDisplayIndex(window_);
  if (index < 0) index = 0;
  if (SDL_GetDesktopDisplayMode(index, &mode) == 0) {
    width = mode.w;
    height = mode.h;
  } else {
    width = kScreenWidth;
    height = kScreenHeight;
  }
}

void SdlBackend::GetWindowPos(int& left, int& top) {
  SDL_GetWindowPosition(window_, &left, &top);
}

void SdlBackend::SetWindowPos(int left, int top) {
  if (!fullScreen_) PlaceOnDisplay(left, top);
}

void SdlBackend::PlaceOnDisplay(int x, int y) {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  // The display under the window's top-left corner, else the window's own.
  int display = -1;
  for (int i = 0; i < SDL_GetNumVideoDisplays() && display < 0; ++i) {
    SDL_Rect b;
    if (SDL_GetDisplayBounds(i, &b) == 0 && x >= b.x && x < b.x + b.w && y >= b.y &&
        y < b.y + b.h)
      display = i;
  }
  if (display < 0) display = SDL_GetWindowDisplayIndex(window_);
  SDL_Rect usable;
  if (display >= 0 && SDL_GetDisplayUsableBounds(display, &usable) == 0) {
    x = std::max(usable.x, std::min(x, usable.x + usable.w - w));
    y = std::max(usable.y, std::min(y, usable.y + usable.h - h));
  }
  SDL_SetWindowPosition(window_, x, y);
}

void SdlBackend::WarpPointer(int x, int y) {
  int wx, wy;
  GameToWindow(PictureRect(), x, y, wx, wy);
  if (outputW_ > 0 && outputH_ > 0 && (windowW_ != outputW_ || windowH_ != outputH_)) {
    wx = static_cast<int>(static_cast<int64_t>(wx) * windowW_ / outputW_);
    wy = static_cast<int>(static_cast<int64_t>(wy) * windowH_ / outputH_);
  }
  SDL_WarpMouseInWindow(window_, wx, wy);
}

}  // namespace platform
