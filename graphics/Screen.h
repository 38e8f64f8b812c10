// The screen: the only code that writes the display frame and presents it.
// Everything else draws into its own pictures and hands them over here; each
// write notes the area of the frame it changed (the damage), and a present
// shows the frame: whole, or just the damaged area for the small updates of
// the click-wait mark.
//
// [SECTION] State
// [SECTION] Writing the frame
// [SECTION] Reading the frame
// [SECTION] Presenting
#pragma once
#include <cstdint>

#include "base/Bitmap.h"
#include "graphics/Surfaces.h"

namespace zk {

class TForm1;

// ============================================================ [SECTION] State

struct ScreenState {
  // The area of the frame written since the last present (one bounding
  // rectangle of every write).
  PixelRect Damage;
};

// ============================================================ [SECTION] Writing the frame
// None of these presents.

// Copies the w x h area at (sx, sy) of src to (dx, dy) of the frame, clipped
// to both.
void CopyAreaToScreen(TForm1& f, const Bitmap& src, int sx, int sy, int w, int h, int dx, int dy);
// A whole bitmap (its top-left 800 x 600 at most) onto the frame at the origin.
void CopyToScreen(TForm1& f, const Bitmap& src);
// Sets every byte of the frame to `value` (0: black, 0xFF: white).
void FillScreen(TForm1& f, uint8_t value);
// The frame for drawers that paint whole frames in place (transitions,
// ptset); the whole frame counts as damaged.
PixelView ScreenCanvas(TForm1& f);

// ============================================================ [SECTION] Reading the frame

// target becomes an 800 x 600 copy of the frame.
void ReadScreen(TForm1& f, Bitmap& target);
// Fills target (keeping its size) from the frame area at (x, y).
void ReadScreenArea(TForm1& f, int x, int y, Bitmap& target);
// True when the frame area at (x, y) holds exactly the pixels of `pixels`.
bool ScreenShows(TForm1& f, const Bitmap& pixels, int x, int y);

// ============================================================ [SECTION] Presenting

// Shows the whole frame.
void PresentScreen(TForm1& f);
// Shows only the damaged area (the display's cheaper partial present);
// nothing when nothing was written since the last present.
void PresentScreenDamage(TForm1& f);

}  // namespace zk
