// Copies between pictures, all through one clipping routine, and small
// accessors the graphics files share. The display frame is one more target
// of the same copy; only the screen (graphics/Screen.h) writes it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/Bitmap.h"

namespace zk {

class TForm1;

// The game definition's TACHI_TYPE (1: sprite and mask side by side).
int TachiType(const TForm1& f);

// dst becomes an exact copy of src (size included).
void CopySurface(const Bitmap& src, Bitmap& dst);
// Copies src into dst at (0, 0); the part of dst that src does not cover
// becomes black.
void CopyCovering(const Bitmap& src, Bitmap& dst);

// A rectangle of pixels.
struct PixelRect {
  int X = 0, Y = 0, W = 0, H = 0;
  bool Empty() const { return W <= 0 || H <= 0; }
};

// Rows of 24-bit pixels (blue, green, red) in memory: a bitmap or the
// display frame.
struct PixelView {
  uint8_t* Data = nullptr;
  int Width = 0, Height = 0;
  int Stride = 0;  // bytes per row
  uint8_t* Row(int y) const { return Data + static_cast<size_t>(y) * Stride; }
};

// The pixels of a bitmap. A bitmap without pixels, or whose buffer is
// shorter than its rows need, is an empty view (nothing is read or written).
// A view of a const bitmap is only ever read from.
PixelView ViewOf(const Bitmap& b);

// Copies the w x h area at (sx, sy) of src to (dx, dy) of dst; the parts that
// fall outside either picture are left out, so no position or size reaches
// outside them. Returns the area of dst written (empty when none).
PixelRect CopyArea(const PixelView& src, int sx, int sy, int w, int h, const PixelView& dst, int dx,
                   int dy);
void CopyArea(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy);

}  // namespace zk
