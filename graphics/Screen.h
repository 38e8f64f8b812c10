// The screen: the only code that writes the display frame and presents it.
// Everything else draws into its own pictures and hands them over here; each
// write notes the area of the frame it changed (the damage), and a present
// shows the frame: whole, or just the damaged area for the small updates of
// the click-wait mark. The text printer's pacing (when printed characters are
// shown) is kept here too, so every decision to present is in one place.
//
// [SECTION] State
// [SECTION] Writing the frame
// [SECTION] Reading the frame
// [SECTION] Presenting
// [SECTION] Showing printed text
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
  // Characters reached the frame but are not shown yet, and when printed
  // text was last shown.
  bool TextUnshown = false;
  uint32_t TextShownMs = 0;
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

// ============================================================ [SECTION] Showing printed text
// Showing the screen costs far more than drawing a character, and the
// characters one interpreter step prints follow each other at once: a
// character is shown when nothing else is printed right after it in the same
// step, or when text was last shown a frame ago. While skipping, at most every
// kSkipPresentMs; what follows (a page reset, the next character, the wait
// mark) shows the rest. Presents of the text layer restart that clock.

constexpr uint32_t kFramePresentMs = 16;
constexpr uint32_t kSkipPresentMs = 50;

// A character reached the frame; it is shown by the pacing below.
void NoteTextDrawn(TForm1& f);
// True while a character drawn on the frame is not shown yet.
bool TextUnshown(const TForm1& f);
// After a character: shows the screen when the pacing says it is due.
// moreFollows: the interpreter prints another character right after this one
// in the same step.
void ShowPrintedText(TForm1& f, bool moreFollows);
// Shows characters not shown yet, if any.
void FlushText(TForm1& f);
// Shows the whole frame for the text layer.
void PresentText(TForm1& f);
// The text layer's small update (the wait mark): the whole frame while a
// character is not shown yet, else just the damaged area (nothing when
// nothing changed).
void UpdateText(TForm1& f);

}  // namespace zk
