// Glyphs of the message font: rendering a character into a 32 x 35 coverage
// cell with its soft shadow, the glyph cache, the text colours and drawing a
// glyph into a bitmap.
//
// [SECTION] Cells and levels
// [SECTION] Glyph renderer and cache
// [SECTION] Text colours
// [SECTION] Drawing
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FontRaster.h"
#include "base/Bitmap.h"

namespace zk {

// ============================================================ [SECTION] Cells and levels

constexpr int kGlyphCellWidth = 32;
constexpr int kGlyphCellHeight = 35;
constexpr int kGlyphCellBytes = kGlyphCellWidth * kGlyphCellHeight;  // 1120
constexpr int kGlyphCacheSize = 1000;

// One byte of coverage (0-255) per pixel, rows top first.
using GlyphCell = std::array<uint8_t, kGlyphCellBytes>;

// A rasteriser level 0..64 as coverage: 0 stays 0, 1-55 become 3v + 90 (the
// faintest covered pixel is 93, so edges look heavy), 56 and above 255.
constexpr uint8_t GlyphLevelCoverage(int level) {
  return level <= 0 ? 0 : level <= 55 ? static_cast<uint8_t>(3 * level + 90) : 255;
}

// The character of a Shift-JIS code (lead byte x 256 + trail byte, or a single
// byte) as Unicode; 0 when the code is no character.
char32_t SjisCodeToUnicode(uint16_t code);

// Places a glyph image in a cleared cell: its left edge at the glyph origin x,
// its top row at ascent - origin y + 2, each level converted to coverage and
// everything outside the cell cut off. False, leaving the cell empty, when the
// image needs kGlyphCellBytes bytes or more.
bool PlaceGlyph(const platform::GlyphImage& image, int ascent, GlyphCell& cell);

// The shadow mask of a glyph cell: at (r + 1, c + 1) the average of the four
// neighbours of (r, c), for r 1..33 and c 1..30; 0 elsewhere.
void BuildShadowMask(const GlyphCell& glyph, GlyphCell& shadow);

// The em size in pixels of the message font for the "FONTSIZE" setting, a
// size in points at 96 pixels per inch (19 gives 25 pixels, 24 gives 32).
int FontPixelSize(int fontSize);

// ============================================================ [SECTION] Glyph renderer and cache

// The Shift-JIS codes rendered into the cache whenever it is reset: hiragana,
// katakana, full-width digits and common punctuation.
const std::vector<uint16_t>& PrerenderedGlyphCodes();

class GlyphRenderer {
 public:
  // The rasteriser to use (may be null: then nothing renders).
  void SetRaster(platform::FontRaster* raster) { raster_ = raster; }
  platform::FontRaster* Raster() const { return raster_; }

  // The font of every later glyph: face name (Shift-JIS, as stored in the
  // settings), "FONTSIZE" and bold. Cached glyphs stay; ResetCache drops them.
  void SetFont(std::string_view faceSjis, int fontSize, bool bold);

  // Empties the cache and schedules the pre-rendered set; it is rendered
  // before the next character, so start-up does not wait for the font.
  void ResetCache();

  // Renders a character into Glyph() and Shadow(). A cached character is
  // copied from the cache; a new one is rendered and, while the cache holds
  // fewer than kGlyphCacheSize entries, stored. False (both cells empty) when
  // the character has nothing to draw: no glyph, or a glyph too large.
  bool Render(uint16_t code);

  const GlyphCell& Glyph() const { return glyph_; }
  const GlyphCell& Shadow() const { return shadow_; }
  int CachedCount() const { return static_cast<int>(cache_.size()); }
  bool IsCached(uint16_t code) const { return slot_[code] != 0; }
  // How many characters were rasterised since the last ResetCache (for tests
  // and the developer panel).
  int RasterCount() const { return rasterCount_; }

 private:
  struct Entry {
    uint16_t Code;
    GlyphCell Cell;
  };
  void ApplyFont();
  bool Rasterise(uint16_t code, GlyphCell& cell);
  void Prerender();

  platform::FontRaster* raster_ = nullptr;
  std::string faceUtf8_;
  int pixelSize_ = 25;
  bool bold_ = false;
  bool prerenderPending_ = false;
  int rasterCount_ = 0;
  std::vector<Entry> cache_;
  // Code -> cache index + 1, 0 for none; zero-filled by the allocator, so
  // only the parts of the table that codes in use fall in take memory.
  std::vector<int16_t, ZeroedAllocator<int16_t>> slot_ =
      std::vector<int16_t, ZeroedAllocator<int16_t>>(65536);
  GlyphCell glyph_{};
  GlyphCell shadow_{};
};

// ============================================================ [SECTION] Text colours

constexpr uint32_t kWhite = 0xFFFFFF;

// The colour of a text colour index as a colour value (red in the low byte):
// index 0 is the speaker colour (S037), 1-7 fixed colours; higher indices
// use their low three bits.
uint32_t TextColourOf(int index, uint32_t speakerColour);

// One row of a glyph cell filled with a colour, blue, green, red per pixel.
struct ColourRow {
  uint32_t Colour = 0xFFFFFFFFu;  // none yet
  std::array<uint8_t, kGlyphCellWidth * 3> Bytes{};
  // Refills the row when the colour differs from the one it holds.
  void Set(uint32_t colour);
};

// ============================================================ [SECTION] Drawing

// Draws a rendered glyph into a bitmap with its top-left at (x, y): black
// through the shadow mask at (x + 1, y), then the colour through the glyph
// cell at (x, y); each pixel byte becomes (below x (255 - m) + colour x m) >> 8
// in 8-byte groups as the masked blend does (a group whose mask bytes are all
// 0 is left untouched). Clipped to the bitmap.
void DrawGlyph(Bitmap& target, int x, int y, const GlyphCell& glyph, const GlyphCell& shadow,
               const ColourRow& colour);

}  // namespace zk
