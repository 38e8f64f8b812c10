// Plain text without the message window's glyph cells: ruby over the page
// and the text other screens draw into their own pictures (end roll,
// completion rate). Glyphs come from the same rasteriser at the size asked
// for, with their coverage used as it is (no shadow, no heavy edges).
#include <algorithm>
#include <string>

#include "base/Sjis.h"
#include "core/TForm1.h"
#include "graphics/Screen.h"
#include "resources/GameDefinition.h"
#include "resources/Settings.h"
#include "text/Glyphs.h"
#include "text/MessageWindow.h"
#include "text/Text.h"

namespace zk {

namespace {

constexpr int kRubyHeight = 9;
constexpr int kRubyAbove = 7;
constexpr int kRubyRight = 3;

// Selects the face (the message font's when faceUtf8 is null) at a pixel
// height; false without a rasteriser.
platform::FontRaster* SelectFont(TForm1& f, const char* faceUtf8, int height) {
  platform::FontRaster* raster = f.Plat.fonts;
  if (!raster) return nullptr;
  const std::string face = faceUtf8 ? std::string(faceUtf8) : SjisToUtf8(f.Game.Settings.FontName);
  raster->SetFont(face, std::clamp(height, 1, 256), false);
  return raster;
}

// Calls fn(image, penX) for every character of the Shift-JIS text and returns
// the width of the text.
template <typename Fn>
int ForEachGlyph(platform::FontRaster& raster, std::string_view sjis, Fn fn) {
  int pen = 0;
  platform::GlyphImage image;
  for (size_t i = 0; i < sjis.size();) {
    uint16_t code;
    i += SjisCodeAt(sjis, i, code);
    const char32_t c = SjisCodeToUnicode(code);
    if (c == 0 || !raster.RenderGlyph(c, image)) continue;
    fn(image, pen);
    pen += image.Advance;
  }
  return pen;
}

// Blends a glyph's coverage in a colour (red in the high byte) into target
// with the glyph's pen position at (penX, baseline).
void BlendGlyph(Bitmap& target, const platform::GlyphImage& image, int penX, int baseline,
                uint32_t rgb) {
  const uint8_t colour[3] = {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                             static_cast<uint8_t>(rgb >> 16)};
  const int left = penX + image.OriginX;
  const int top = baseline - image.OriginY;
  for (int y = 0; y < image.Height; ++y) {
    const int ty = top + y;
    if (ty < 0 || ty >= target.Height) continue;
    const uint8_t* src = image.Levels.data() + static_cast<size_t>(y) * image.Pitch;
    uint8_t* row = target.Row(ty);
    for (int x = 0; x < image.Width; ++x) {
      const int tx = left + x;
      if (tx < 0 || tx >= target.Width || src[x] == 0) continue;
      const int m = std::min(64, static_cast<int>(src[x])) * 255 / 64;
      for (int k = 0; k < 3; ++k) {
        uint8_t& p = row[3 * tx + k];
        p = static_cast<uint8_t>((p * (255 - m) + colour[k] * m) / 255);
      }
    }
  }
}

}  // namespace

int MeasureText(TForm1& f, std::string_view sjis, const char* faceUtf8, int height) {
  platform::FontRaster* raster = SelectFont(f, faceUtf8, height);
  if (!raster) return 0;
  return ForEachGlyph(*raster, sjis, [](const platform::GlyphImage&, int) {});
}

void DrawTextToBitmap(TForm1& f, Bitmap& target, int x, int y, std::string_view sjis,
                      const char* faceUtf8, int height, uint32_t rgb) {
  platform::FontRaster* raster = SelectFont(f, faceUtf8, height);
  if (!raster || target.Empty()) return;
  const int baseline = y + raster->Ascent();
  ForEachGlyph(*raster, sjis, [&](const platform::GlyphImage& image, int pen) {
    BlendGlyph(target, image, x + pen, baseline, rgb);
  });
}

void DrawRuby(TForm1& f, std::string_view text, int column, int row) {
  if (f.State.Mode.SkipMode == SkipMode::NoText || text.empty()) return;
  const GameDefinition& d = f.Game.Def;
  const bool window = f.State.Vars.S(kSysFullScreenText) == 0;
  const int x = (window ? d.TXW_OFS_X + d.TX_OFS_X + column * d.TX_PITCH_X
                        : d.TX2_OFS_X + column * d.TX2_PITCH_X) +
                kRubyRight;
  const int y =
      (window ? d.TXW_OFS_Y + d.TX_OFS_Y + row * d.TX_PITCH_Y : d.TX2_OFS_Y + row * d.TX2_PITCH_Y) -
      kRubyAbove;
  const int width = MeasureText(f, text, nullptr, kRubyHeight);
  DrawTextToBitmap(f, f.Gfx.Scene, x, y, text, nullptr, kRubyHeight, 0xFFFFFF);
  // The text may reach a little below its nominal height (descenders).
  CopyAreaToScreen(f, f.Gfx.Scene, x - 1, y, width + 2, kRubyHeight * 2, x - 1, y);
  PresentScreen(f);
}

}  // namespace zk
