#include "graphics/ScreenCopy.h"

#include <algorithm>
#include <cstring>

#include "core/TForm1.h"

namespace zk {

namespace {

struct View {
  uint8_t* Data;
  int Width, Height, Stride;
};

void CopyView(const View& src, int sx, int sy, int w, int h, const View& dst, int dx, int dy) {
  // Clip the source rectangle, then the destination, moving both together.
  if (sx < 0) {
    w += sx;
    dx -= sx;
    sx = 0;
  }
  if (sy < 0) {
    h += sy;
    dy -= sy;
    sy = 0;
  }
  if (dx < 0) {
    w += dx;
    sx -= dx;
    dx = 0;
  }
  if (dy < 0) {
    h += dy;
    sy -= dy;
    dy = 0;
  }
  w = std::min({w, src.Width - sx, dst.Width - dx});
  h = std::min({h, src.Height - sy, dst.Height - dy});
  if (w <= 0 || h <= 0) return;
  for (int r = 0; r < h; ++r) {
    std::memmove(dst.Data + static_cast<size_t>(dy + r) * dst.Stride + dx * 3,
                 src.Data + static_cast<size_t>(sy + r) * src.Stride + sx * 3,
                 static_cast<size_t>(w) * 3);
  }
}

View ViewOf(const Bitmap& b) {
  return {const_cast<uint8_t*>(b.Pixels.data()), b.Empty() ? 0 : b.Width, b.Empty() ? 0 : b.Height,
          b.Stride};
}

View ScreenView(TForm1& f) {
  return {f.Plat.display->Frame(), platform::kScreenWidth, platform::kScreenHeight,
          platform::kScreenStride};
}

}  // namespace

void CopyArea(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy) {
  if (src.Pixels.size() < static_cast<size_t>(src.Stride) * src.Height ||
      dst.Pixels.size() < static_cast<size_t>(dst.Stride) * dst.Height)
    return;
  CopyView(ViewOf(src), sx, sy, w, h, ViewOf(dst), dx, dy);
}

void CopyAreaToScreen(TForm1& f, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy) {
  if (src.Pixels.size() < static_cast<size_t>(src.Stride) * src.Height) return;
  CopyView(ViewOf(src), sx, sy, w, h, ScreenView(f), dx, dy);
}

void CopyToScreen(TForm1& f, const Bitmap& src) {
  CopyAreaToScreen(f, src, 0, 0, src.Width, src.Height, 0, 0);
}

}  // namespace zk
