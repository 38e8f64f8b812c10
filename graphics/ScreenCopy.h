// Rectangle copies between bitmaps and onto the game screen, clipped to both
// sides so that no position or size can reach outside either picture.
#pragma once
#include <cstdint>

#include "base/Bitmap.h"

namespace zk {

class TForm1;

// Copies the w x h area at (sx, sy) of src to (dx, dy) of dst; the parts that
// fall outside either bitmap are left out.
void CopyArea(const Bitmap& src, int sx, int sy, int w, int h, Bitmap& dst, int dx, int dy);
// The same onto the game screen (the display's frame); does not present.
void CopyAreaToScreen(TForm1& f, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy);
// A whole bitmap onto the screen at the origin; does not present.
void CopyToScreen(TForm1& f, const Bitmap& src);

}  // namespace zk
