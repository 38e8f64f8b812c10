// A rasteriser for tests: every character is the same small known image,
// and every call is counted.
#pragma once
#include <string>

#include "platform/FontRaster.h"

namespace zk::test {

class FakeRaster : public platform::FontRaster {
 public:
  // The image every character gets: Width x Height levels, row-major.
  platform::GlyphImage Image;
  int AscentPx = 20;
  int Renders = 0;
  char32_t Missing = 0;  // a character the "font" lacks
  std::string Face;
  int SizePx = 0;
  bool Bold = false;

  FakeRaster() {
    // A 4 x 3 block with levels 64, 30, 1, 0 across, at origin (2, 18).
    Image.Width = 4;
    Image.Height = 3;
    Image.Pitch = 4;
    Image.OriginX = 2;
    Image.OriginY = 18;
    Image.Advance = 24;
    Image.Levels = {64, 30, 1, 0, 64, 30, 1, 0, 64, 30, 1, 0};
  }
  void SetFont(std::string_view face, int sizePx, bool bold) override {
    Face = face;
    SizePx = sizePx;
    Bold = bold;
  }
  int Ascent() override { return AscentPx; }
  bool RenderGlyph(char32_t c, platform::GlyphImage& out) override {
    ++Renders;
    if (c == Missing) return false;
    out = Image;
    return true;
  }
};

}  // namespace zk::test
