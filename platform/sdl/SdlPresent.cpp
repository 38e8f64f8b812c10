// [SECTION] frame upload, layout and drawing of the window (Display).
#include <cstring>

#include "platform/sdl/PixelConvert.h"
#include "platform/sdl/SdlBackend.h"

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
  UploadFrame();
}

void SdlBackend::UploadFrame() {
  void* pixels = nullptr;
  int pitch = 0;
  if (!texture_ || SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
  ConvertFrame(frame_.data(), kScreenStride, static_cast<uint8_t*>(pixels),
               static_cast<size_t>(pitch), kScreenWidth, kScreenHeight);
  SDL_UnlockTexture(texture_);
  textureStale_ = false;
}

void SdlBackend::UpdateLayout() {
  SDL_GetWindowSize(window_, &windowW_, &windowH_);
  if (SDL_GetRendererOutputSize(renderer_, &outputW_, &outputH_) != 0) {
    outputW_ = windowW_;
    outputH_ = windowH_;
  }
  area_ = FitGameArea(outputW_, outputH_, fullScreen_ ? 0 : kToolbarReserve);
}

void SdlBackend::Render() {
  needRender_ = false;
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

// ============================================================ [SECTION] Display

void SdlBackend::Present() {
  const uint64_t hash = HashBytes(frame_.data(), frame_.size());
  if (hash != frameHash_ || textureStale_) {
    UploadFrame();
    frameHash_ = hash;
    needRender_ = true;
  }
  if (uiDirty_) {
    uiDirty_ = false;
    if (RunUiFrames()) needRender_ = true;
  }
  if (needRender_ || !presentedOnce_) Render();
}

bool SdlBackend::SetFullScreen(int mode) {
  if (mode == 0) {
    if (fullScreen_) {
      if (SDL_SetWindowFullscreen(window_, 0) != 0) return false;
      // Back to the window's own size (not every video driver restores it).
      SDL_SetWindowSize(window_, savedW_, savedH_);
    }
    fullScreen_ = false;
    toolbarVisible_ = true;
  } else if (!fullScreen_) {
    // Both full-screen modes fill the desktop at its own resolution and
    // scale the picture; the display mode is never changed.
    SDL_GetWindowSize(window_, &savedW_, &savedH_);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
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
  if (!fullScreen_) SDL_SetWindowPosition(window_, left, top);
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
