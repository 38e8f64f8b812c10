#include <gtest/gtest.h>

#include "platform/sdl/FontRasterFreetype.h"
#include "text/FakeRaster.h"
#include "text/Glyphs.h"

namespace zk {
namespace {

uint8_t At(const GlyphCell& cell, int row, int col) {
  return cell[row * kGlyphCellWidth + col];
}

TEST(Glyphs, LevelsBecomeHeavyCoverage) {
  struct Case {
    int level;
    uint8_t coverage;
  };
  for (const Case& c :
       {Case{0, 0}, Case{1, 93}, Case{30, 180}, Case{55, 255}, Case{56, 255}, Case{64, 255}})
    EXPECT_EQ(GlyphLevelCoverage(c.level), c.coverage) << "level " << c.level;
}

TEST(Glyphs, ImageIsPlacedFromOriginAndAscentAndClippedToTheCell) {
  test::FakeRaster raster;
  GlyphCell cell;
  // Top row at ascent - origin y + 2 = 20 - 18 + 2 = 4; left column at origin x 2.
  ASSERT_TRUE(PlaceGlyph(raster.Image, 20, cell));
  for (int r = 4; r < 7; ++r) {
    EXPECT_EQ(At(cell, r, 2), 255);
    EXPECT_EQ(At(cell, r, 3), 180);
    EXPECT_EQ(At(cell, r, 4), 93);
    EXPECT_EQ(At(cell, r, 5), 0);
  }
  EXPECT_EQ(At(cell, 3, 2), 0);
  EXPECT_EQ(At(cell, 7, 2), 0);

  // Partly outside on every side: what falls outside is dropped.
  platform::GlyphImage big = raster.Image;
  big.OriginX = 30;
  ASSERT_TRUE(PlaceGlyph(big, 0, cell));  // top row at 0 - 18 + 2 = -16: all above
  EXPECT_EQ(std::count(cell.begin(), cell.end(), 0), kGlyphCellBytes);
  big.OriginX = -2;
  big.OriginY = -31;  // top row 33: image rows 0 and 1 at cell rows 33 and 34
  ASSERT_TRUE(PlaceGlyph(big, 0, cell));
  EXPECT_EQ(At(cell, 33, 0), 93);  // image column 2 (level 1)
  EXPECT_EQ(At(cell, 34, 0), 93);
  EXPECT_EQ(At(cell, 34, 1), 0);
  EXPECT_EQ(std::count(cell.begin(), cell.end(), 0), kGlyphCellBytes - 2);
}

TEST(Glyphs, ImagesOfTheCellSizeOrMoreDrawNothing) {
  platform::GlyphImage image;
  image.Width = 32;
  image.Pitch = 32;
  image.Height = 35;  // 1120 bytes
  image.Levels.assign(image.Bytes(), 64);
  GlyphCell cell;
  EXPECT_FALSE(PlaceGlyph(image, 30, cell));
  EXPECT_EQ(std::count(cell.begin(), cell.end(), 0), kGlyphCellBytes);
  image.Height = 34;  // 1088 bytes
  image.Levels.resize(image.Bytes());
  EXPECT_TRUE(PlaceGlyph(image, 30, cell));
}

TEST(Glyphs, ShadowIsTheNeighbourAverageOneDownOneRight) {
  GlyphCell glyph{}, shadow;
  glyph[10 * kGlyphCellWidth + 10] = 255;
  glyph[0] = 255;  // the corner is nobody's neighbour
  BuildShadowMask(glyph, shadow);
  // (r, c) next to the inked pixel puts a quarter of it at (r + 1, c + 1).
  EXPECT_EQ(At(shadow, 10, 11), 63);  // from (9, 10)
  EXPECT_EQ(At(shadow, 12, 11), 63);  // from (11, 10)
  EXPECT_EQ(At(shadow, 11, 10), 63);  // from (10, 9)
  EXPECT_EQ(At(shadow, 11, 12), 63);  // from (10, 11)
  EXPECT_EQ(At(shadow, 11, 11), 0);   // the inked pixel's own place
  EXPECT_EQ(std::count(shadow.begin(), shadow.end(), 0), kGlyphCellBytes - 4);
}

// A known glyph drawn over grey: shadow first, 2 right and 1 down of the ink,
// then the colour, each byte (below x (255 - m) + colour x m) >> 8.
TEST(Glyphs, DrawingPutsShadowThenColourOverTheBackground) {
  GlyphCell glyph{}, shadow;
  glyph[10 * kGlyphCellWidth + 10] = 255;
  BuildShadowMask(glyph, shadow);
  Bitmap target;
  target.Resize(64, 64);
  target.Fill(100, 100, 100);
  ColourRow white;
  white.Set(kWhite);
  DrawGlyph(target, 4, 5, glyph, shadow, white);
  auto px = [&](int x, int y) { return target.Row(y)[3 * x]; };
  EXPECT_EQ(px(14, 15), (100 * 0 + 255 * 255) >> 8);  // the ink: 254
  // Shadow mask (11, 12) lies at x 4 + 1 + 12, y 5 + 11.
  EXPECT_EQ(px(17, 16), (100 * (255 - 63)) >> 8);  // 75
  // A zero mask byte inside a group with ink loses one level; a group
  // without ink keeps the background exactly.
  EXPECT_EQ(px(13, 15), (100 * 255) >> 8);
  EXPECT_EQ(px(4, 5), 100);
  EXPECT_EQ(px(40, 40), 100);
}

TEST(Glyphs, DrawingIsClippedAtEveryEdge) {
  GlyphCell glyph, shadow;
  glyph.fill(255);
  shadow.fill(255);
  ColourRow red;
  red.Set(0x0000FF);
  Bitmap target;
  target.Resize(20, 20);
  for (int x : {-40, -16, -1, 0, 5, 19, 20, 50})
    for (int y : {-40, -20, 0, 10, 19, 50}) DrawGlyph(target, x, y, glyph, shadow, red);
  EXPECT_EQ(target.Row(10)[3 * 10 + 2], 254);  // red channel, fully covered
}

TEST(Glyphs, FixedColoursAndTheSpeakerColour) {
  struct Case {
    int index;
    uint32_t colour;  // red in the low byte
  };
  const uint32_t speaker = 0x123456;
  for (const Case& c : {Case{0, speaker}, Case{1, 0x008000}, Case{2, 0x0000FF}, Case{3, 0x800080},
                        Case{4, 0x00FFFF}, Case{5, 0xFF0000}, Case{6, 0xFFFF00}, Case{7, 0xC0C0C0},
                        Case{8, speaker}, Case{10, 0x0000FF}})
    EXPECT_EQ(TextColourOf(c.index, speaker), c.colour) << "index " << c.index;
  ColourRow row;
  row.Set(0x0000FF);
  EXPECT_EQ(row.Bytes[0], 0);    // blue
  EXPECT_EQ(row.Bytes[2], 255);  // red
}

TEST(Glyphs, ShiftJisCodesBecomeUnicode) {
  struct Case {
    uint16_t code;
    char32_t c;
  };
  for (const Case& c : {Case{0x82A0, U'あ'}, Case{0x93FA, U'日'}, Case{0x8140, U'　'},
                        Case{0x0041, U'A'}, Case{0x00B1, U'ｱ'}, Case{0x837F, 0}, Case{0x0005, 0},
                        Case{0x0081, 0}, Case{0x4142, 0}, Case{0xFFFF, 0}})
    EXPECT_EQ(SjisCodeToUnicode(c.code), c.c) << std::hex << c.code;
}

TEST(GlyphCache, PrerendersOnFirstUseAndKeepsAThousandEntries) {
  test::FakeRaster raster;
  GlyphRenderer r;
  r.SetRaster(&raster);
  r.SetFont("\x82\x6c\x82\x72 \x96\xbe\x92\xa9", 19, true);  // "ＭＳ 明朝"
  r.ResetCache();
  EXPECT_EQ(raster.Renders, 0);  // nothing before the first character

  ASSERT_TRUE(r.Render(0x82A0));
  EXPECT_EQ(raster.Face, "ＭＳ 明朝");
  EXPECT_EQ(raster.SizePx, 25);
  EXPECT_TRUE(raster.Bold);
  int prerendered = 0;
  for (uint16_t code : PrerenderedGlyphCodes()) prerendered += SjisCodeToUnicode(code) != 0;
  EXPECT_EQ(r.CachedCount(), prerendered);
  EXPECT_EQ(raster.Renders, prerendered);  // "あ" came from the cache

  // Fill the cache with kanji (from 0x889F, every code that is a character).
  uint16_t next = 0x889F;
  auto nextKanji = [&] {
    while (SjisCodeToUnicode(next) == 0) ++next;
    return next++;
  };
  while (r.CachedCount() < kGlyphCacheSize) {
    ASSERT_TRUE(r.Render(nextKanji()));
  }
  const uint16_t extra = nextKanji();
  const int before = raster.Renders;
  EXPECT_TRUE(r.Render(extra));  // the 1001st character still draws
  EXPECT_EQ(r.Glyph()[6 * kGlyphCellWidth + 2], 255);
  EXPECT_FALSE(r.IsCached(extra));
  EXPECT_EQ(r.CachedCount(), kGlyphCacheSize);
  EXPECT_TRUE(r.Render(extra));
  EXPECT_EQ(raster.Renders, before + 2);  // rendered each time
  EXPECT_TRUE(r.Render(0x889F));
  EXPECT_EQ(raster.Renders, before + 2);  // cached ones are not
}

TEST(GlyphCache, CharactersWithoutGlyphDrawNothingAndAreNotCached) {
  test::FakeRaster raster;
  raster.Missing = U'日';
  GlyphRenderer r;
  r.SetRaster(&raster);
  r.ResetCache();
  EXPECT_FALSE(r.Render(0x93FA));
  EXPECT_FALSE(r.IsCached(0x93FA));
  EXPECT_EQ(std::count(r.Shadow().begin(), r.Shadow().end(), 0), kGlyphCellBytes);
  EXPECT_FALSE(r.Render(0x0001));  // no character at all
  GlyphRenderer none;              // no rasteriser
  none.ResetCache();
  EXPECT_FALSE(none.Render(0x82A0));
}

// The real rasteriser with the installed Japanese faces.
TEST(FreetypeRaster, WindowsFaceNamesRenderJapaneseGlyphs) {
  auto raster = platform::CreateFreetypeFontRaster();
  GlyphRenderer r;
  r.SetRaster(raster.get());
  for (const char* face :
       {"\x82\x6c\x82\x72 \x96\xbe\x92\xa9",                          // ＭＳ 明朝
        "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e",  // ＭＳ Ｐゴシック
        "No Such Face", ""}) {
    r.SetFont(face, 19, false);
    r.ResetCache();
    if (!r.Render(0x88EA)) GTEST_SKIP() << "no Japanese font installed";  // 一
    // The ink of "一" is a horizontal bar in the upper half of the cell; every
    // covered pixel is at least 93.
    int inked = 0, top = kGlyphCellHeight, bottom = 0;
    for (int row = 0; row < kGlyphCellHeight; ++row)
      for (int col = 0; col < kGlyphCellWidth; ++col) {
        const uint8_t v = r.Glyph()[row * kGlyphCellWidth + col];
        if (!v) continue;
        EXPECT_GE(v, 93);
        ++inked;
        top = std::min(top, row);
        bottom = std::max(bottom, row);
      }
    EXPECT_GT(inked, 20) << face;
    EXPECT_LT(bottom - top, 6) << face;
    EXPECT_GT(top, 8) << face;
    EXPECT_LT(bottom, 25) << face;
  }
  // Bold is wider.
  auto inkOf = [&](bool bold) {
    r.SetFont("\x82\x6c\x82\x72 \x96\xbe\x92\xa9", 19, bold);
    r.ResetCache();
    r.Render(0x93FA);
    return std::count_if(r.Glyph().begin(), r.Glyph().end(), [](uint8_t v) { return v > 0; });
  };
  EXPECT_GT(inkOf(true), inkOf(false));
}

}  // namespace
}  // namespace zk
