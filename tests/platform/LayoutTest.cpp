#include <gtest/gtest.h>

#include "platform/sdl/Layout.h"

namespace platform {
namespace {

TEST(Layout, FitsTheLargestCentredFourByThreeArea) {
  struct Case {
    int w, h, top;
    PixelRect want;
  } cases[] = {
      {800, 624, 24, {0, 24, 800, 600}},      // the window as it opens
      {1600, 1224, 24, {0, 24, 1600, 1200}},  // doubled
      {1000, 624, 24, {100, 24, 800, 600}},   // wider: bars left and right
      {800, 1000, 24, {0, 212, 800, 600}},    // taller: bars above and below
      {1920, 1080, 0, {240, 0, 1440, 1080}},  // full screen on a 16:9 desktop
      {1024, 768, 0, {0, 0, 1024, 768}},      // full screen on a 4:3 desktop
      {1366, 768, 0, {171, 0, 1024, 768}},    // odd bar width rounds down
      {400, 324, 24, {0, 24, 400, 300}},      // smaller than the game
      {800, 20, 24, {0, 24, 0, 0}},           // nothing below the tool bar
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.want, FitGameArea(c.w, c.h, c.top)) << c.w << "x" << c.h << " top " << c.top;
}

TEST(Layout, PointerMappingCoversThePictureExactly) {
  for (const PixelRect area :
       {PixelRect{0, 24, 800, 600}, PixelRect{240, 0, 1440, 1080}, PixelRect{171, 0, 1024, 768}}) {
    int gx, gy;
    WindowToGame(area, area.x, area.y, gx, gy);
    EXPECT_EQ(0, gx);
    EXPECT_EQ(0, gy);
    WindowToGame(area, area.x + area.w - 1, area.y + area.h - 1, gx, gy);
    EXPECT_EQ(799, gx);
    EXPECT_EQ(599, gy);
    // One pixel outside on either side maps outside the game screen.
    WindowToGame(area, area.x - 1, area.y - 1, gx, gy);
    EXPECT_LT(gx, 0);
    EXPECT_LT(gy, 0);
    WindowToGame(area, area.x + area.w, area.y + area.h, gx, gy);
    EXPECT_GE(gx, 800);
    EXPECT_GE(gy, 600);
  }
}

TEST(Layout, GamePixelsRoundTripWhenEnlarged) {
  for (const PixelRect area :
       {PixelRect{0, 24, 800, 600}, PixelRect{240, 0, 1440, 1080}, PixelRect{171, 0, 1024, 768}}) {
    for (int g = 0; g < 800; ++g) {
      int wx, wy, gx, gy;
      GameToWindow(area, g, g * 3 / 4, wx, wy);
      EXPECT_TRUE(area.Contains(wx, wy));
      WindowToGame(area, wx, wy, gx, gy);
      ASSERT_EQ(g, gx) << "area x " << area.x << " w " << area.w;
      ASSERT_EQ(g * 3 / 4, gy);
    }
  }
  // Positions above the picture (a menu under the tool bar) stay above it.
  int wx, wy;
  GameToWindow({0, 24, 800, 600}, 4, -3, wx, wy);
  EXPECT_EQ(4, wx);
  EXPECT_EQ(21, wy);
}

TEST(Layout, ShakeMovesByScaledGamePixels) {
  EXPECT_EQ((PixelRect{10, 19, 800, 600}), ShiftByGamePixels({0, 24, 800, 600}, 10, -5));
  EXPECT_EQ((PixelRect{258, -9, 1440, 1080}), ShiftByGamePixels({240, 0, 1440, 1080}, 10, -5));
}

TEST(Layout, UncoveredBandsTileTheRestOfTheWindow) {
  struct Case {
    int w, h;
    PixelRect picture;
  } cases[] = {
      {800, 624, {0, 24, 800, 600}},    {1920, 1080, {240, 0, 1440, 1080}},
      {800, 1000, {0, 212, 800, 600}},  {800, 624, {10, 19, 800, 600}},  // shaken past the edges
      {800, 624, {-900, 24, 800, 600}},                                  // entirely outside
  };
  for (const Case& c : cases) {
    PixelRect bands[4];
    const int n = UncoveredBands(c.w, c.h, c.picture, bands);
    // Every window pixel is covered exactly once by the picture or a band.
    for (int y = 0; y < c.h; y += 7) {
      for (int x = 0; x < c.w; x += 7) {
        int covered = c.picture.Contains(x, y) ? 1 : 0;
        for (int i = 0; i < n; ++i) covered += bands[i].Contains(x, y) ? 1 : 0;
        ASSERT_EQ(1, covered) << "at " << x << "," << y << " picture x " << c.picture.x;
      }
    }
  }
}

}  // namespace
}  // namespace platform
