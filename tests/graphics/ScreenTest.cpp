// The one clipping copy, and the screen: writes to the frame with their
// damage, reading it back, and the presents (whole, partial, paced text).
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "GraphicsFixture.h"
#include "core/TForm1.h"
#include "graphics/Screen.h"
#include "graphics/Surfaces.h"
#include "platform/headless/Headless.h"

namespace zk {
namespace {

// What the copy must do, pixel by pixel: dst pixel (x, y) takes src pixel
// (x - dx + sx, y - dy + sy) when it lies in the copied w x h area and in src.
Bitmap ReferenceCopy(const Bitmap& src, int sx, int sy, int w, int h, const Bitmap& dst, int dx,
                     int dy, PixelRect& written) {
  Bitmap out = dst;
  int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
  for (int y = 0; y < dst.Height; ++y)
    for (int x = 0; x < dst.Width; ++x) {
      const int64_t i = int64_t{x} - dx, j = int64_t{y} - dy;
      const int64_t px = sx + i, py = sy + j;
      if (i < 0 || j < 0 || i >= w || j >= h || px < 0 || py < 0 || px >= src.Width ||
          py >= src.Height)
        continue;
      std::memcpy(out.Row(y) + 3 * x, src.Row(static_cast<int>(py)) + 3 * px, 3);
      x0 = std::min<int64_t>(x0, x);
      y0 = std::min<int64_t>(y0, y);
      x1 = std::max<int64_t>(x1, x + 1);
      y1 = std::max<int64_t>(y1, y + 1);
    }
  written = x0 > x1 ? PixelRect{}
                    : PixelRect{static_cast<int>(x0), static_cast<int>(y0),
                                static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
  return out;
}

TEST(CopyArea, ClipsToBothPicturesForAnyPositionAndSize) {
  const Bitmap src = Pattern(1, 13, 9);
  const Bitmap dst = Pattern(2, 11, 7);
  struct Case {
    int sx, sy, w, h, dx, dy;
  } cases[] = {
      {2, 1, 4, 3, 5, 2},                          // inside both
      {-3, -2, 6, 5, 1, 1},                        // starts left of and above the source
      {1, 1, 5, 4, -2, -3},                        // lands left of and above the target
      {0, 0, 100, 100, 0, 0},                      // larger than either picture
      {10, 6, 8, 8, 8, 4},                         // runs off the right and bottom of both
      {-20, 0, 10, 5, 0, 0},                       // entirely left of the source
      {0, 0, 5, 5, 11, 0},                         // entirely right of the target
      {0, 0, 0, 5, 0, 0},                          // no width
      {0, 0, -4, 5, 0, 0},                         // negative size
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},  // extremes do not overflow
      {INT_MAX, 0, INT_MAX, 5, INT_MIN, 0},
      {0, 0, INT_MAX, INT_MAX, INT_MIN + 1, -1},
      {-5, -1, INT_MAX, INT_MAX, 0, 0},  // a huge size from a negative start
  };
  for (const Case& c : cases) {
    PixelRect expectedRect;
    const Bitmap expected = ReferenceCopy(src, c.sx, c.sy, c.w, c.h, dst, c.dx, c.dy, expectedRect);
    Bitmap viaViews = dst;
    const PixelRect r = CopyArea(ViewOf(src), c.sx, c.sy, c.w, c.h, ViewOf(viaViews), c.dx, c.dy);
    Bitmap viaBitmaps = dst;
    CopyArea(src, c.sx, c.sy, c.w, c.h, viaBitmaps, c.dx, c.dy);
    const std::string at = std::to_string(c.sx) + "," + std::to_string(c.sy) + " " +
                           std::to_string(c.w) + "x" + std::to_string(c.h) + " -> " +
                           std::to_string(c.dx) + "," + std::to_string(c.dy);
    EXPECT_EQ(viaViews.Pixels, expected.Pixels) << at;
    EXPECT_EQ(viaBitmaps.Pixels, expected.Pixels) << at;
    EXPECT_EQ(r.Empty(), expectedRect.Empty()) << at;
    if (!expectedRect.Empty()) {
      EXPECT_EQ((std::vector<int>{r.X, r.Y, r.W, r.H}),
                (std::vector<int>{expectedRect.X, expectedRect.Y, expectedRect.W, expectedRect.H}))
          << at;
    }
  }
}

TEST(CopyArea, OverlappingAreasOfOnePictureAndShortBuffers) {
  // Within one picture the copy behaves as if through a temporary.
  Bitmap b = Pattern(3, 10, 4);
  const Bitmap before = b;
  CopyArea(b, 0, 0, 8, 4, b, 2, 0);
  for (int x = 2; x < 10; ++x) EXPECT_EQ(PixelAt(b, x, 1), PixelAt(before, x - 2, 1)) << x;

  // A picture whose buffer is shorter than its rows say is neither read nor written.
  Bitmap shortSrc = Pattern(4, 10, 10);
  shortSrc.Pixels.resize(shortSrc.Pixels.size() / 2);
  Bitmap shortDst = Pattern(5, 10, 10);
  shortDst.Pixels.resize(shortDst.Pixels.size() / 2);
  const Bitmap shortDstBefore = shortDst;
  Bitmap target = Pattern(6, 10, 10);
  const Bitmap targetBefore = target;
  CopyArea(shortSrc, 0, 0, 10, 10, target, 0, 0);
  CopyArea(target, 0, 0, 10, 10, shortDst, 0, 0);
  EXPECT_EQ(target.Pixels, targetBefore.Pixels);
  EXPECT_EQ(shortDst.Pixels, shortDstBefore.Pixels);
  EXPECT_TRUE(CopyArea(ViewOf(shortSrc), 0, 0, 10, 10, ViewOf(target), 0, 0).Empty());
}

// A display that records the partial presents.
struct RectDisplay : platform::HeadlessDisplay {
  std::vector<std::vector<int>> rects;
  void PresentRect(int x, int y, int w, int h) override {
    rects.push_back({x, y, w, h});
    Present();
  }
};

struct ScreenTest : ::testing::Test {
  platform::HeadlessClock clock;
  RectDisplay display;
  platform::HeadlessUi ui;
  platform::Platform plat{&clock, &display, &ui, true};
  TForm1 form{plat, RunConfig{}};

  Bgr Frame(int x, int y) {
    const uint8_t* p = display.Frame() + static_cast<size_t>(y) * platform::kScreenStride + 3 * x;
    return {p[0], p[1], p[2]};
  }
};

TEST_F(ScreenTest, WritesAreClippedToTheFrameAndPresentedAsOneDamagedArea) {
  const Bitmap red = Solid(100, 50, 0, 0, 200);
  CopyAreaToScreen(form, red, 0, 0, 100, 50, 750, -20);  // off the right and the top
  EXPECT_EQ(Frame(799, 0), (Bgr{0, 0, 200}));
  EXPECT_EQ(Frame(749, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(Frame(799, 30), (Bgr{0, 0, 0}));
  CopyAreaToScreen(form, red, 0, 0, 10, 10, 700, 100);

  // Both writes, merged into their bounding rectangle, in one partial present.
  PresentScreenDamage(form);
  EXPECT_EQ(display.rects, (std::vector<std::vector<int>>{{700, 0, 100, 110}}));
  EXPECT_EQ(display.Presents(), 1);
  // Nothing written since: nothing to present.
  PresentScreenDamage(form);
  EXPECT_EQ(display.Presents(), 1);

  // A whole present takes the damage with it; a copy that lands nowhere adds none.
  FillScreen(form, 0xFF);
  EXPECT_EQ(Frame(400, 300), (Bgr{255, 255, 255}));
  PresentScreen(form);
  CopyAreaToScreen(form, red, 0, 0, 100, 50, 800, 0);
  PresentScreenDamage(form);
  EXPECT_EQ(display.Presents(), 2);
  EXPECT_EQ(display.rects.size(), 1u);
}

TEST_F(ScreenTest, ReadingBackGivesTheFrameAndOnlyItsPart) {
  const Bitmap picture = Pattern(7);
  CopyToScreen(form, picture);
  Bitmap whole;
  ReadScreen(form, whole);
  EXPECT_EQ(whole.Width, 800);
  EXPECT_EQ(whole.Height, 600);
  EXPECT_EQ(whole.Pixels, picture.Pixels);

  // An area reaching past the frame's corner: the part outside stays as it was.
  Bitmap corner = Solid(20, 20, 1, 2, 3);
  ReadScreenArea(form, 790, 590, corner);
  EXPECT_EQ(PixelAt(corner, 0, 0), PixelAt(picture, 790, 590));
  EXPECT_EQ(PixelAt(corner, 9, 9), PixelAt(picture, 799, 599));
  EXPECT_EQ(PixelAt(corner, 10, 10), (Bgr{1, 2, 3}));

  Bitmap area;
  area.Resize(30, 10);
  ReadScreenArea(form, 100, 200, area);
  EXPECT_TRUE(ScreenShows(form, area, 100, 200));
  EXPECT_FALSE(ScreenShows(form, area, 101, 200));
  EXPECT_FALSE(ScreenShows(form, area, 780, 200));  // not all of it is on the frame
}

TEST_F(ScreenTest, PrintedTextIsShownWhenPacingSaysItIsDue) {
  struct Case {
    int skip;
    bool moreFollows;
    uint32_t sinceMs;  // since text was last shown
    bool shown;
  } cases[] = {
      {0, false, 0, true},    // the step stops printing
      {0, true, 15, false},   // more follows within a frame
      {0, true, 16, true},    // a frame has passed
      {1, false, 49, false},  // skipping: at most every 50 ms
      {1, true, 50, true},
  };
  for (const Case& c : cases) {
    form.State.Mode.SkipMode = static_cast<SkipMode>(c.skip);
    PresentText(form);
    clock.Advance(c.sinceMs);
    NoteTextDrawn(form);
    const int before = display.Presents();
    ShowPrintedText(form, c.moreFollows);
    EXPECT_EQ(display.Presents() - before, c.shown ? 1 : 0)
        << c.skip << " " << c.moreFollows << " " << c.sinceMs;
    EXPECT_EQ(TextUnshown(form), !c.shown);
  }
  // What is left is shown by the next flush, once.
  FlushText(form);
  FlushText(form);
  EXPECT_FALSE(TextUnshown(form));
}

TEST_F(ScreenTest, TheTextLayersSmallUpdateShowsUnshownTextWhole) {
  const Bitmap mark = Solid(24, 24, 9, 9, 9);
  // A change alone: just its area.
  CopyAreaToScreen(form, mark, 0, 0, 24, 24, 672, 560);
  UpdateText(form);
  EXPECT_EQ(display.rects, (std::vector<std::vector<int>>{{672, 560, 24, 24}}));
  // No change: no present.
  UpdateText(form);
  EXPECT_EQ(display.Presents(), 1);
  // Unshown text: the whole frame, with or without a change.
  NoteTextDrawn(form);
  UpdateText(form);
  EXPECT_EQ(display.Presents(), 2);
  EXPECT_EQ(display.rects.size(), 1u);
  EXPECT_FALSE(TextUnshown(form));
}

}  // namespace
}  // namespace zk
