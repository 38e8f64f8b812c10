// Glyph rasterisation for the message font: one face at a time, selected by
// name, pixel size and weight, giving each character as a 65-level coverage
// bitmap (0 = empty, 64 = fully covered) with its placement.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// One rendered glyph. Rows are top first, Pitch bytes each (the width rounded
// up to a multiple of 4), every byte a coverage level 0..64.
struct GlyphImage {
  int Width = 0;
  int Height = 0;
  int Pitch = 0;
  int OriginX = 0;  // left edge of the image relative to the pen position
  int OriginY = 0;  // top edge of the image above the baseline
  int Advance = 0;  // pen advance to the next character, in pixels
  std::vector<uint8_t> Levels;

  size_t Bytes() const { return static_cast<size_t>(Pitch) * Height; }
};

class FontRaster {
 public:
  virtual ~FontRaster() = default;

  // Selects the face by name (UTF-8; Windows face names such as "ＭＳ 明朝" are
  // understood), its em size in pixels and its weight. Cheap when nothing
  // changed; the face itself is found and opened on first use.
  virtual void SetFont(std::string_view faceUtf8, int sizePx, bool bold) = 0;
  // Distance from the top of a text line to the baseline, in pixels; 0 when
  // no face could be opened.
  virtual int Ascent() = 0;
  // Renders one Unicode character. False (and out emptied) when no face is
  // available or the face has no glyph for it. A glyph without ink (a space)
  // succeeds with an empty image.
  virtual bool RenderGlyph(char32_t codepoint, GlyphImage& out) = 0;
};

}  // namespace platform
