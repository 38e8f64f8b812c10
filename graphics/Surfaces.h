// Copies between surfaces and the window (the display frame), all clipped, and
// small accessors the graphics files share.
#pragma once
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

// The window: the display frame, 800 x 600, three bytes per pixel.
uint8_t* WindowPixels(TForm1& f);
void PresentWindow(TForm1& f);
// Copies the rectangle (x, y, w, h) of src into the window at the same place.
void CopyRectToWindow(TForm1& f, const Bitmap& src, int x, int y, int w, int h);
// Copies the whole of src (its top-left 800 x 600) into the window.
void CopyToWindow(TForm1& f, const Bitmap& src);
// Copies the rectangle (sx, sy, w, h) of src into the window at (dx, dy).
void BlitToWindow(TForm1& f, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy);
// The window frame as an 800 x 600 bitmap, and a bitmap's top-left part
// (up to 800 x 600) into the window frame.
void CopyFrameToBitmap(TForm1& f, Bitmap& target);
void CopyBitmapToFrame(TForm1& f, const Bitmap& source);
// Copies the rectangle (sx, sy, w, h) of src into dst at (dx, dy), clipped to both.
void Blit(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy);

}  // namespace zk
