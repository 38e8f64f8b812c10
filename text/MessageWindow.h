// The message window: its frame picture tinted with the player's colours, the
// window composed over the scene (and cached), the full-screen text page,
// speaker name plates, page redraw, the string helpers and the click-wait
// mark. The state lives in TForm1::Text.
//
// [SECTION] State
// [SECTION] Picture building blocks
// [SECTION] Start-up
// [SECTION] Window and text page
// [SECTION] Characters and plates
// [SECTION] Click-wait mark
// [SECTION] Hiding the window
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/Bitmap.h"
#include "text/Glyphs.h"

namespace zk {

class TForm1;
struct GameDefinition;

// ============================================================ [SECTION] State

constexpr int kNamePlateSlots = 59;  // "np01" .. "np59"
constexpr int kFirstSpeaker = 1;     // speaker entry 0 is never matched
constexpr int kLastSpeaker = 59;

struct TextState {
  GlyphRenderer Glyphs;
  int32_t ColourIndex = 0;  // the index the next glyphs are drawn in
  ColourRow Colour;         // that colour, as one row of a glyph cell

  // The window frame: colour in the top half, opacity in the bottom half,
  // the player's tint and opacity already applied. TXW_SIZE_X x 2 TXW_SIZE_Y.
  Bitmap Frame;
  // The message window as drawn over the current scene (quick buttons
  // included) and its clean saved copy; the copy is reused while valid.
  Bitmap Window;
  Bitmap WindowSaved;
  bool WindowCacheValid = false;
  // Name plates: the clean window area under the plate, the plate being
  // composed, and the plate pictures by slot (index 0 is "np01").
  Bitmap PlateBackground;
  Bitmap PlateWork;
  std::vector<Bitmap> Plates;
  // The click-wait mark: its frames side by side (colour rows, then opacity
  // rows), one composed frame, and where it was last drawn.
  Bitmap ClickWaitSheet;
  Bitmap ClickWaitSave;
  int32_t WaitCounter = 0;
  bool WaitErased = true;
  int32_t WaitX = 0, WaitY = 0;
  // Nothing of the page needs redrawing (the window was just opened, closed
  // or reset); cleared by every character printed.
  bool PageClean = true;
  // The scene as it was when the window was hidden.
  Bitmap HiddenScene;
};

// ============================================================ [SECTION] Picture building blocks
// Plain operations on bitmaps, with no engine state.

// The tinted frame: "sys_tw" (colour over opacity) with the tint area
// "sys_tw1" applied: per byte, colour = (colour x (255 - t) + tint x t) >> 8 and
// opacity = (opacity x (255 - t) + alpha x t) >> 8, t the tint-area byte, in
// 8-byte groups as the masked blend does. The result is exactly
// width x 2 height; parts the pictures do not cover are 0 (transparent).
void BuildWindowFrame(const Bitmap& frame, const Bitmap& tintArea, int width, int height,
                      uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha, Bitmap& out);

// The window over the scene: row r = stage row (y + r) from column x blended
// with frame row r through frame row (height + r). Stage pixels outside the
// stage count as black. window is resized to the frame's top half.
void ComposeWindow(const Bitmap& stage, int x, int y, const Bitmap& frame, Bitmap& window);

// The full-screen text page: every byte of the stage scaled by
// (255 - darkening) / 256.
void BuildTextPage(const Bitmap& stage, int darkening, Bitmap& page);

// Blends a stacked picture (colour rows, then as many opacity rows) into
// target at (x, y) in place: the `width` x `height` frame starting at column
// srcX of the sheet. Clipped to both bitmaps.
void BlendStacked(Bitmap& target, int x, int y, const Bitmap& sheet, int srcX, int width,
                  int height);

// The speaker entry (1..59) whose name equals `name`, or 0.
int FindSpeaker(const GameDefinition& def, std::string_view name);

// The frame of the click-wait mark shown at tick `counter`.
int ClickWaitFrame(int32_t counter, int timing, int frames);

// ============================================================ [SECTION] Start-up
// Steps of the start-up sequence, in its order.

// Gives the glyph renderer the rasteriser and the font of the settings.
void CreateMessageFont(TForm1& f);
// Creates the plate buffers and loads "np01", "np02", ... until one is
// missing or 59 are loaded.
void LoadNamePlates(TForm1& f);
// Creates the window bitmaps and builds the frame.
void CreateMessageWindow(TForm1& f);
// Loads the click-wait mark and resets the glyph cache.
void LoadTextPictures(TForm1& f);
// Text colour index 1 then 0 (white from S037) and the page marked clean.
void InitTextColour(TForm1& f);

// ============================================================ [SECTION] Window and text page

// Rebuilds the tinted frame from the pictures and the player's colours
// (start-up, and whenever the window colour settings change).
void BuildMessageWindowFrame(TForm1& f);
// Forgets the composed window (the scene under it changed).
void InvalidateMessageWindow(TForm1& f);
// Composes the message window over the stage surface, or restores it from
// its saved copy while that is valid; in full-screen text mode builds the
// text page instead.
void ComposeMessageWindow(TForm1& f);
// Adds the message window to the scene surface while the scene is built:
// the window (or the text page), the speaker plate and the page text. Only
// the scene surface changes; the caller shows it.
void DrawMessageWindowLayer(TForm1& f);
// Empties the glyph cache and pre-renders the common characters (after the
// font settings changed).
void ResetGlyphCache(TForm1& f);

// ============================================================ [SECTION] Characters and plates

// The colour index of the next glyphs (0 = S037).
void SetTextColour(TForm1& f, int index);
// Draws a character (Shift-JIS code) with its top-left at (x, y) into the
// scene surface and, when toScreen, copies its area to the screen (shown by
// the caller, or by the screen's FlushText).
void DrawCharacter(TForm1& f, uint16_t code, int x, int y, bool toScreen);
// The name plate of `name` (Shift-JIS) on the scene and, when toScreen, the
// screen; sets S037 to the speaker's colour. Nothing for unknown names.
void DrawSpeakerPlate(TForm1& f, std::string_view name, bool toScreen);
// Redraws the plate and every character of the page grid (nothing while the
// page is clean).
void RedrawPage(TForm1& f, bool toScreen);
// Draws Shift-JIS text into a bitmap: the character at 1-based byte position
// i at x + i x TX_PITCH_X, in colour index `colour`. The centred form moves
// the text left by half its length in cells.
void DrawString(TForm1& f, std::string_view text, int x, Bitmap& target, int colour, int y);
void DrawStringCentred(TForm1& f, std::string_view text, int x, Bitmap& target, int colour, int y);

// ============================================================ [SECTION] Click-wait mark
// AnimateWaitCursor and EraseWaitCursor (core/Hooks.h) draw and remove it.

// ============================================================ [SECTION] Hiding the window
// HideMessageWindow and ShowMessageWindow (core/Hooks.h).

}  // namespace zk
