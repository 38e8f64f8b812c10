#include <gtest/gtest.h>

#include "resources/GameDefinition.h"
#include "text/MessageWindow.h"

namespace zk {
namespace {

Bitmap Solid(int w, int h, uint8_t b, uint8_t g, uint8_t r) {
  Bitmap bmp;
  bmp.Resize(w, h);
  bmp.Fill(b, g, r);
  return bmp;
}

// A frame picture: colour (blue 40, green 50, red 60) over opacity `opacity`.
Bitmap FramePicture(int w, int h, uint8_t opacity) {
  Bitmap bmp = Solid(w, 2 * h, 40, 50, 60);
  for (int y = h; y < 2 * h; ++y) std::fill(bmp.Row(y), bmp.Row(y) + 3 * w, opacity);
  return bmp;
}

// The window over a scene for the player's tint (200, 100, 0) at opacity
// alpha, where the tint area is white (255) or black (0).
struct TintCase {
  uint8_t tintArea;
  uint8_t alpha;
  uint8_t frameOpacity;
  uint8_t sceneByte;
  uint8_t blue, green, red;  // the window pixel
};

TEST(WindowFrame, TintAndOpacityApplyWhereTheTintAreaIsWhite) {
  const int w = 16, h = 4;  // 48 bytes a row: six whole groups
  for (const TintCase& c : {
           // Opacity 0 on white: the scene shows through unchanged.
           TintCase{255, 0, 200, 77, 77, 77, 77},
           // Opacity 255 on white: the tint, a level or two below (the
           // blend's weights are 255 - m and m).
           TintCase{255, 255, 0, 0, 0, 98, 197},
           TintCase{255, 255, 0, 255, 0, 99, 198},
           // Black tint area: the frame's own colour and opacity stay.
           TintCase{0, 255, 0, 77, 77, 77, 77},
           TintCase{0, 0, 255, 0, 39, 49, 59},
       }) {
    Bitmap frame;
    BuildWindowFrame(FramePicture(w, h, c.frameOpacity),
                     Solid(w, h, c.tintArea, c.tintArea, c.tintArea), w, h, 200, 100, 0, c.alpha,
                     frame);
    ASSERT_EQ(frame.Width, w);
    ASSERT_EQ(frame.Height, 2 * h);
    const Bitmap stage = Solid(64, 64, c.sceneByte, c.sceneByte, c.sceneByte);
    Bitmap window;
    ComposeWindow(stage, 8, 20, frame, window);
    ASSERT_EQ(window.Width, w);
    ASSERT_EQ(window.Height, h);
    for (int y : {0, h - 1}) {
      const uint8_t* p = window.Row(y) + 3 * (w - 1);
      EXPECT_EQ(p[0], c.blue) << int(c.tintArea) << "/" << int(c.alpha) << "/" << int(c.sceneByte);
      EXPECT_EQ(p[1], c.green);
      EXPECT_EQ(p[2], c.red);
    }
  }
}

TEST(WindowFrame, MissingPicturesGiveATransparentWindowOfTheConfiguredSize) {
  Bitmap frame;
  BuildWindowFrame(Bitmap{}, Bitmap{}, 10, 3, 1, 2, 3, 255, frame);
  EXPECT_EQ(frame.Width, 10);
  EXPECT_EQ(frame.Height, 6);
  const Bitmap stage = Solid(40, 40, 9, 8, 7);
  Bitmap window;
  ComposeWindow(stage, 0, 0, frame, window);
  // 10 pixels are 30 bytes: three whole groups and a tail of six bytes.
  for (int x : {0, 9}) EXPECT_EQ(window.Row(2)[3 * x + 2], 7);
}

TEST(WindowFrame, AWindowReachingOffTheStageBlendsOverBlack) {
  Bitmap frame;
  BuildWindowFrame(FramePicture(8, 2, 0), Bitmap{}, 8, 2, 0, 0, 0, 0, frame);
  const Bitmap stage = Solid(10, 10, 50, 50, 50);
  Bitmap window;
  ComposeWindow(stage, 6, 9, frame, window);
  EXPECT_EQ(window.Row(0)[0], 50);
  EXPECT_EQ(window.Row(0)[3 * 5], 0);  // column 11 of the stage does not exist
  EXPECT_EQ(window.Row(1)[0], 0);      // nor does row 10
}

TEST(TextPage, DarkeningScalesTheStage) {
  const Bitmap stage = Solid(800, 600, 255, 128, 3);
  Bitmap page;
  BuildTextPage(stage, 255, page);
  EXPECT_EQ(page.Width, 800);
  EXPECT_EQ(std::count(page.Pixels.begin(), page.Pixels.end(), 0),
            static_cast<long>(page.Pixels.size()));
  BuildTextPage(stage, 128, page);
  EXPECT_EQ(page.Row(599)[3 * 799], (255 * 127) >> 8);
  EXPECT_EQ(page.Row(0)[1], (128 * 127) >> 8);
}

TEST(StackedPictures, FramesOfASheetBlendThroughTheirOpacityRows) {
  // Two frames of 8 x 2: frame 0 red, frame 1 green; opacity 255 everywhere
  // except the last pixel of frame 1.
  Bitmap sheet;
  sheet.Resize(16, 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 16; ++x) {
      uint8_t* p = sheet.Row(y) + 3 * x;
      p[x < 8 ? 2 : 1] = 255;
      std::fill(sheet.Row(y + 2) + 3 * x, sheet.Row(y + 2) + 3 * x + 3, x == 15 ? 0 : 255);
    }
  Bitmap target = Solid(10, 3, 100, 100, 100);
  BlendStacked(target, 3, 2, sheet, 8, 8, 2);  // frame 1, its lower row clipped
  const uint8_t* row = target.Row(2);
  EXPECT_EQ(row[3 * 3 + 1], 254);             // green
  EXPECT_EQ(row[3 * 3 + 2], (100 * 0) >> 8);  // red gone
  EXPECT_EQ(row[3 * 2 + 1], 100);             // left of the frame
  EXPECT_EQ(target.Row(1)[3 * 3 + 1], 100);   // above it
  // Off every edge and beyond the sheet: nothing breaks, nothing is drawn.
  Bitmap copy = target;
  for (int x : {-20, 10, 50})
    for (int y : {-20, 3, 50}) BlendStacked(target, x, y, sheet, 8, 8, 2);
  BlendStacked(target, 0, 0, sheet, 16, 8, 2);
  BlendStacked(target, 0, 0, sheet, 0, 8, 4);  // the opacity rows lie beyond the sheet
  EXPECT_EQ(target.Pixels, copy.Pixels);
}

TEST(Speakers, EntryZeroIsNeverMatched) {
  GameDefinition def;
  def.NAME[0] = {true, "A", 0x0000FF};
  def.NAME[2] = {false, "B", 0};
  def.NAME[3] = {true, "A", 0x00FF00};
  def.NAME[4] = {true, "B", 0xFF0000};
  def.NAME[59] = {true, "Z", 0};
  struct Case {
    const char* name;
    int entry;
  };
  for (const Case& c :
       {Case{"A", 3}, Case{"B", 4}, Case{"Z", 59}, Case{"", 0}, Case{"C", 0}, Case{"AA", 0}})
    EXPECT_EQ(FindSpeaker(def, c.name), c.entry) << c.name;
  def.NAME[3].Defined = false;
  EXPECT_EQ(FindSpeaker(def, "A"), 0);
}

TEST(ClickWaitMark, FrameChangesEveryFourthTickAndRepeatsEverySixteen) {
  // Ticks 1..33 with timing 2 and four frames.
  const int expected[] = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0, 0,
                          0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0, 0};
  for (int tick = 1; tick <= 33; ++tick)
    EXPECT_EQ(ClickWaitFrame(tick, 2, 4), expected[tick - 1]) << "tick " << tick;
  EXPECT_EQ(ClickWaitFrame(5, 0, 0), 0);   // no frames
  EXPECT_EQ(ClickWaitFrame(5, -3, 3), 2);  // a negative timing counts every tick
  EXPECT_EQ(ClickWaitFrame(5, 40, 3), 0);  // a huge timing is cut to the counter's width
}

}  // namespace
}  // namespace zk
