// What the text subsystem offers the rest of the engine: the page as the
// interpreter prints it, name plates and ruby, the page reset and text mode,
// plain text for effects, the message window layer of the scene, hiding and
// showing the window, and the click-wait mark.
#pragma once
#include <cstdint>
#include <string_view>

namespace zk {

class TForm1;
struct Bitmap;

void ResetTextFonts(TForm1& f);  // also after the large-text flag changed
// Cells per text row of the current text mode (window or full-screen text).
int TextCellsPerRow(const TForm1& f);
// Draws one character (1 or 2 bytes) of the page at a text cell in the
// current colour index. moreFollows: the interpreter prints another
// character right after it in the same step, so showing the screen may wait
// for that one.
void DrawPageChar(TForm1& f, const char* bytes, int length, int column, int row, bool moreFollows);
void ShowNamePlate(TForm1& f, std::string_view name);  // an empty name clears the plate
// Ruby text over a text cell: white, 9 pixels high, 7 above the row's glyphs.
void DrawRuby(TForm1& f, std::string_view text, int column, int row);
// The drawing half of a page reset: an empty message window (or, in
// full-screen text mode, the page background) on the screen.
void DrawPageReset(TForm1& f);
// `mode`: forgets the saved message window; when switched, builds the layout
// of the text mode now in S150 and redraws the scene.
void SwitchTextModeDisplay(TForm1& f, bool switched);

// Plain text for effects (end roll, completion rate): width in pixels, and
// drawing into a bitmap with the top left corner at x, y.
int MeasureText(TForm1& f, std::string_view sjis, const char* faceUtf8, int height);
void DrawTextToBitmap(TForm1& f, Bitmap& target, int x, int y, std::string_view sjis,
                      const char* faceUtf8, int height, uint32_t rgb);

// Adds the message window (in full-screen text mode the text page), its
// buttons, the speaker plate and the page text to the scene surface; part of
// every scene build.
void DrawMessageWindowLayer(TForm1& f);
// The scene's layers changed: a cached message-window picture is stale.
void InvalidateMessageWindow(TForm1& f);
void ShowMessageWindow(TForm1& f);  // window hidden → shown again (ScreenMode 1)
void HideMessageWindow(TForm1& f);
// The window picture and its composed copy (nullptr while there is none), and
// the page-is-clean mark that skips the redraw.
Bitmap* MessageWindowPicture(TForm1& f);
Bitmap* ComposedWindowCache(TForm1& f);
void MarkPageClean(TForm1& f);

// The click-wait mark.
void AnimateWaitCursor(TForm1& f);
void EraseWaitCursor(TForm1& f);
// How many of the next AnimateWaitCursor calls would leave the screen as it
// is (the mark already shows the frame they draw); INT_MAX when none of them
// draws anything.
int WaitCursorQuietTicks(TForm1& f);

}  // namespace zk
