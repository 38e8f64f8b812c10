#include "graphics/Surfaces.h"

#include <algorithm>
#include <cstring>

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

PixelView ViewOf(const Bitmap& b) {
  if (b.Empty() || b.Pixels.size() < static_cast<size_t>(b.Stride) * b.Height)
    return {nullptr, 0, 0, b.Stride};
  return {const_cast<uint8_t*>(b.Pixels.data()), b.Width, b.Height, b.Stride};
}

PixelRect CopyArea(const PixelView& src, int sx, int sy, int w, int h, const PixelView& dst, int dx,
                   int dy) {
  // Clips one axis: the source start, then the destination start, moving
  // both together, then the length to what both sides hold. In 64 bits, so
  // no position or size can overflow on the way.
  auto clip = [](int& s, int& d, int& len, int sLimit, int dLimit) {
    int64_t ss = s, dd = d, ll = len;
    if (ss < 0) {
      dd -= ss;
      ll += ss;
      ss = 0;
    }
    if (dd < 0) {
      ss -= dd;
      ll += dd;
      dd = 0;
    }
    ll = std::min({ll, int64_t{sLimit} - ss, int64_t{dLimit} - dd});
    if (ll <= 0) return false;
    s = static_cast<int>(ss);
    d = static_cast<int>(dd);
    len = static_cast<int>(ll);
    return true;
  };
  if (!clip(sx, dx, w, src.Width, dst.Width) || !clip(sy, dy, h, src.Height, dst.Height)) return {};
  for (int r = 0; r < h; ++r)
    std::memmove(dst.Row(dy + r) + dx * 3, src.Row(sy + r) + sx * 3, static_cast<size_t>(w) * 3);
  return {dx, dy, w, h};
}

void CopyArea(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy) {
  CopyArea(ViewOf(src), sx, sy, w, h, ViewOf(dst), dx, dy);
}

}  // namespace zk
