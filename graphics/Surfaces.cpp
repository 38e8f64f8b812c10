#include "graphics/Surfaces.h"

#include <algorithm>
#include <cstring>

#include "core/TForm1.h"
#include "graphics/GraphicsState.h"

namespace zk {

void CopySurface(const Bitmap& src, Bitmap& dst) {
  dst.Resize(src.Width, src.Height);
  if (!src.Pixels.empty()) std::memcpy(dst.Pixels.data(), src.Pixels.data(), src.Pixels.size());
}

void CopyCovering(const Bitmap& src, Bitmap& dst) {
  const int w = std::min(src.Width, dst.Width), h = std::min(src.Height, dst.Height);
  const size_t rowBytes = static_cast<size_t>(dst.Width) * 3;
  for (int y = 0; y < dst.Height; ++y) {
    uint8_t* d = dst.Row(y);
    size_t done = 0;
    if (y < h && w > 0) {
      done = static_cast<size_t>(w) * 3;
      std::memcpy(d, src.Row(y), done);
    }
    std::memset(d + done, 0, rowBytes - done);
  }
}

uint8_t* WindowPixels(TForm1& f) { return f.Plat.display->Frame(); }
void PresentWindow(TForm1& f) { f.Plat.display->Present(); }

namespace {

// Clips a copy of (w, h) pixels from (sx, sy) in a sw x sh source to (dx, dy)
// in a dw x dh target. False when nothing is left.
bool ClipCopy(int sw, int sh, int dw, int dh, int& sx, int& sy, int& w, int& h, int& dx, int& dy) {
  auto clip = [](int& s, int& d, int& len, int sLimit, int dLimit) {
    long ss = s, dd = d, ll = len;
    if (ss < 0) { dd -= ss; ll += ss; ss = 0; }
    if (dd < 0) { ss -= dd; ll += dd; dd = 0; }
    ll = std::min(ll, static_cast<long>(sLimit) - ss);
    ll = std::min(ll, static_cast<long>(dLimit) - dd);
    if (ll <= 0) return false;
    s = static_cast<int>(ss);
    d = static_cast<int>(dd);
    len = static_cast<int>(ll);
    return true;
  };
  return clip(sx, dx, w, sw, dw) && clip(sy, dy, h, sh, dh);
}

}  // namespace

void BlitToWindow(TForm1& f, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy) {
  if (!ClipCopy(src.Width, src.Height, kSceneWidth, kSceneHeight, sx, sy, w, h, dx, dy)) return;
  uint8_t* win = WindowPixels(f);
  for (int i = 0; i < h; ++i)
    std::memcpy(win + static_cast<size_t>(dy + i) * kSceneWidth * 3 + dx * 3,
                src.Row(sy + i) + sx * 3, static_cast<size_t>(w) * 3);
}

void Blit(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy) {
  if (!ClipCopy(src.Width, src.Height, dst.Width, dst.Height, sx, sy, w, h, dx, dy)) return;
  for (int i = 0; i < h; ++i)
    std::memmove(dst.Row(dy + i) + dx * 3, src.Row(sy + i) + sx * 3, static_cast<size_t>(w) * 3);
}

void CopyRectToWindow(TForm1& f, const Bitmap& src, int x, int y, int w, int h) {
  BlitToWindow(f, src, x, y, w, h, x, y);
}

void CopyToWindow(TForm1& f, const Bitmap& src) {
  BlitToWindow(f, src, 0, 0, kSceneWidth, kSceneHeight, 0, 0);
}

void CopyFrameToBitmap(TForm1& f, Bitmap& target) {
  target.Resize(platform::kScreenWidth, platform::kScreenHeight);
  const uint8_t* frame = f.Plat.display->Frame();
  for (int y = 0; y < platform::kScreenHeight; ++y)
    std::memcpy(target.Row(y), frame + y * platform::kScreenStride, platform::kScreenStride);
}

void CopyBitmapToFrame(TForm1& f, const Bitmap& source) {
  uint8_t* frame = f.Plat.display->Frame();
  const int rows = std::min(source.Height, platform::kScreenHeight);
  const int bytes = std::min(source.Width, platform::kScreenWidth) * 3;
  for (int y = 0; y < rows; ++y)
    std::memcpy(frame + y * platform::kScreenStride, source.Row(y), bytes);
}

}  // namespace zk
