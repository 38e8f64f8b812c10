#include "platform/sdl/Layout.h"

#include <algorithm>
#include <cstdint>

#include "platform/Events.h"

namespace platform {

namespace {

// Division rounding towards minus infinity, for points left of or above the picture.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace

PixelRect FitGameArea(int windowW, int windowH, int top) {
  const int availW = windowW;
  const int availH = windowH - top;
  if (availW <= 0 || availH <= 0) return {0, std::max(top, 0), 0, 0};
  PixelRect r;
  // Compare aspect ratios exactly in integers: availW / availH against 4 / 3.
  if (static_cast<int64_t>(availW) * kScreenHeight <= static_cast<int64_t>(availH) * kScreenWidth) {
    r.w = availW;
    r.h = static_cast<int>(static_cast<int64_t>(availW) * kScreenHeight / kScreenWidth);
  } else {
    r.h = availH;
    r.w = static_cast<int>(static_cast<int64_t>(availH) * kScreenWidth / kScreenHeight);
  }
  r.x = (availW - r.w) / 2;
  r.y = top + (availH - r.h) / 2;
  return r;
}

PixelRect ShiftByGamePixels(const PixelRect& area, int dx, int dy) {
  PixelRect r = area;
  r.x += static_cast<int>(FloorDiv(static_cast<int64_t>(dx) * area.w, kScreenWidth));
  r.y += static_cast<int>(FloorDiv(static_cast<int64_t>(dy) * area.h, kScreenHeight));
  return r;
}

void WindowToGame(const PixelRect& area, int wx, int wy, int& gx, int& gy) {
  if (area.w <= 0 || area.h <= 0) {
    gx = gy = 0;
    return;
  }
  // The centre of the window pixel decides: (w + 0.5) * 800 / size.
  gx = static_cast<int>(
      FloorDiv((2 * static_cast<int64_t>(wx - area.x) + 1) * kScreenWidth, 2 * int64_t{area.w}));
  gy = static_cast<int>(
      FloorDiv((2 * static_cast<int64_t>(wy - area.y) + 1) * kScreenHeight, 2 * int64_t{area.h}));
}

void GameToWindow(const PixelRect& area, int gx, int gy, int& wx, int& wy) {
  // Centre of the game pixel: (g + 0.5) * size / 800.
  wx = area.x +
       static_cast<int>(FloorDiv((2 * static_cast<int64_t>(gx) + 1) * area.w, 2 * kScreenWidth));
  wy = area.y +
       static_cast<int>(FloorDiv((2 * static_cast<int64_t>(gy) + 1) * area.h, 2 * kScreenHeight));
}

void ClampToGame(int& gx, int& gy) {
  gx = std::clamp(gx, 0, kScreenWidth - 1);
  gy = std::clamp(gy, 0, kScreenHeight - 1);
}

int UncoveredBands(int windowW, int windowH, const PixelRect& picture, PixelRect out[4]) {
  // Clip the picture to the window first; a shaken picture may stick out.
  const int left = std::clamp(picture.x, 0, windowW);
  const int right = std::clamp(picture.x + picture.w, 0, windowW);
  const int top = std::clamp(picture.y, 0, windowH);
  const int bottom = std::clamp(picture.y + picture.h, 0, windowH);
  int n = 0;
  if (right <= left || bottom <= top) {
    if (windowW > 0 && windowH > 0) out[n++] = {0, 0, windowW, windowH};
    return n;
  }
  if (top > 0) out[n++] = {0, 0, windowW, top};
  if (bottom < windowH) out[n++] = {0, bottom, windowW, windowH - bottom};
  if (left > 0) out[n++] = {0, top, left, bottom - top};
  if (right < windowW) out[n++] = {right, top, windowW - right, bottom - top};
  return n;
}

}  // namespace platform
