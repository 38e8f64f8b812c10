// Graphics commands with pictures from archives built in the test: masks by
// name and side by side, the background and character layers, parts,
// direct drawing and scrolling pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "graphics/Graphics.h"
#include "resources/GameBuilder.h"
#include "GraphicsFixture.h"

namespace zk {
namespace {

// A sprite of one colour with its mask: the left half opaque.
void AddCharacter(GameBuilder& b, const std::string& name, int w, int h, uint8_t grey) {
  std::string error;
  Bitmap mask = Solid(w, h, 0, 0, 0);
  for (int y = 0; y < h; ++y) std::memset(mask.Row(y), 255, static_cast<size_t>(w / 2) * 3);
  ASSERT_TRUE(b.AddPicture(name, Solid(w, h, grey, grey, grey), error)) << error;
  ASSERT_TRUE(b.AddPicture("M" + name.substr(1), mask, error)) << error;
}

struct PictureCommandTest : GraphicsTest {
  std::filesystem::path dir;
  GameBuilder builder;

  void SetUp() override {
    GraphicsTest::SetUp();
    char pattern[] = "/tmp/zk-gfx-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    std::string error;
    ASSERT_TRUE(builder.AddScript("main", "@gra S000\n", error)) << error;
    ASSERT_TRUE(builder.AddPicture("ABG01", Solid(800, 600, 10, 20, 30), error)) << error;
    ASSERT_TRUE(builder.AddPicture("ATALL", Pattern(4, 800, 700), error)) << error;
    ASSERT_TRUE(builder.AddPicture("AWIDE", Pattern(5, 1000, 600), error)) << error;
    ASSERT_TRUE(builder.AddPicture("APART", Solid(50, 40, 1, 2, 3), error)) << error;
    AddCharacter(builder, "BA01", 100, 200, 200);
    AddCharacter(builder, "BB01", 100, 200, 100);
    // Side by side: colour left, mask right (all opaque).
    Bitmap paired = Solid(200, 100, 255, 255, 255);
    for (int y = 0; y < 100; ++y) std::memset(paired.Row(y), 50, 300);
    ASSERT_TRUE(builder.AddPicture("BPAIR", paired, error)) << error;
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  void OpenGame() {
    std::string error;
    ASSERT_TRUE(builder.Write(dir.string(), error)) << error;
    ASSERT_TRUE(form.Game.Arc.Open(dir.string(), "NULL"));
    s.Vars.S(80) = 400;
    s.Vars.S(81) = 250;
    s.Vars.S(82) = 550;
    s.Vars.S(20) = 250;
  }
  template <typename Body>
  StepResult Run(Body body, const char* args) {
    std::string text(args);
    return body(form, text.data());
  }
  Bgr Screen(int x, int y) { return PixelAt(Window(), x, y); }
};

TEST_F(PictureCommandTest, GraShowsBackgroundsAndCharactersThroughTheirMasks) {
  OpenGame();
  Run(GraCommand, "ABG01");
  EXPECT_EQ(Screen(0, 0), (Bgr{10, 20, 30}));
  EXPECT_STREQ(g.BackgroundName, "ABG01");
  Run(SprCommand, "BA01,BB01,0");
  EXPECT_EQ(Screen(200, 10), (Bgr{199, 199, 199}));  // left of x 250, opaque half
  EXPECT_EQ(Screen(260, 10), (Bgr{10, 20, 30}));     // transparent half
  EXPECT_EQ(Screen(500, 10), (Bgr{99, 99, 99}));

  // grb with the same background keeps the characters and shows nothing yet.
  Run(GrbCommand, "ABG01 1");
  EXPECT_EQ(g.Layout.Count, 2);
  EXPECT_EQ(Screen(200, 10), (Bgr{199, 199, 199}));
  // gra removes them.
  Run(GraCommand, "ABG01");
  EXPECT_EQ(g.Layout.Count, 0);
  EXPECT_EQ(Screen(200, 10), (Bgr{10, 20, 30}));
}

TEST_F(PictureCommandTest, SideBySideCharactersSplitIntoSpriteAndMask) {
  form.Game.Def.TACHI_TYPE = 1;
  OpenGame();
  Run(GraCommand, "ABG01");
  Run(GraCommand, "BPAIR");
  const CharacterSlot& slot = g.Slots[g.Layout.Slot[0]];
  EXPECT_EQ(slot.Sprite.Width, 100);
  EXPECT_EQ(slot.Mask.Width, 100);
  EXPECT_EQ(Screen(350, 50), (Bgr{49, 49, 49}));
  EXPECT_EQ(Screen(449, 99), (Bgr{49, 49, 49}));
  EXPECT_EQ(Screen(450, 50), (Bgr{10, 20, 30}));
}

TEST_F(PictureCommandTest, AMissingCharacterKeepsTheSlotPictureButTakesTheName) {
  OpenGame();
  Run(GraCommand, "BA01");
  const int slot = g.Layout.Slot[0];
  for (const char* n : {"BB01", "BX1", "BX2", "BX3"}) Run(SprCommand, n);
  EXPECT_EQ(g.NextSlot, slot);
  Run(SprCommand, "BX4");  // lands in BA01's slot; no such picture
  EXPECT_STREQ(g.Slots[slot].Name, "BX4");
  EXPECT_EQ(g.Slots[slot].Sprite.Width, 100);
  EXPECT_EQ(PixelAt(g.Slots[slot].Sprite, 0, 0), (Bgr{200, 200, 200}));
}

TEST_F(PictureCommandTest, BgTakesAnyNameAndPartsloadFillsPartsAndOutput) {
  OpenGame();
  Run(BgCommand, "BA01 0");  // any picture can be a background
  EXPECT_EQ(Screen(0, 0), (Bgr{200, 200, 200}));
  EXPECT_EQ(Screen(100, 0), (Bgr{0, 0, 0}));  // beyond the 100-pixel picture
  Run(PartsloadCommand, "APART, ABG01");
  EXPECT_EQ(g.Parts.Width, 50);
  EXPECT_EQ(PixelAt(g.Output, 5, 5), (Bgr{10, 20, 30}));
  EXPECT_EQ(s.Vars.S(15), 1);
}

TEST_F(PictureCommandTest, DirectDrawsAndWaits) {
  OpenGame();
  Run(GraCommand, "S000");
  const uint32_t start = clock.NowMs();
  EXPECT_EQ(Run(DirectCommand, "APART,250,780,590"), kStepContinue);
  EXPECT_EQ(clock.NowMs() - start, 250u);
  EXPECT_EQ(Screen(780, 590), (Bgr{1, 2, 3}));
  EXPECT_EQ(Screen(799, 599), (Bgr{1, 2, 3}));
  EXPECT_EQ(Screen(779, 590), (Bgr{0, 0, 0}));
  EXPECT_EQ(PixelAt(g.Scene, 780, 590), (Bgr{0, 0, 0}));  // the surfaces are untouched
}

TEST_F(PictureCommandTest, ScrollRunsItsStepsAndEndsOnTheLastWindow) {
  OpenGame();
  Run(GraCommand, "ABG01");
  const Bitmap tall = Pattern(4, 800, 700), wide = Pattern(5, 1000, 600);
  struct Case {
    const char* args;
    uint32_t ms;
    const Bitmap* picture;
    int endX, endY;  // the picture position shown at the end
  } cases[] = {
      {"ABG01,0,10,1", 240, nullptr, 0, 0},  // exactly 800 x 600: only transition 1
      {"ATALL,0,10,0", 1000, &tall, 0, 0},   // from the bottom up, 100 steps of 10 ms
      {"ATALL,2,20,0", 2000, &tall, 0, 100},
      {"AWIDE,1,5,0", 1000, &wide, 200, 0},
      {"AWIDE,3,5,0", 1000, &wide, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const uint32_t start = clock.NowMs();
    EXPECT_EQ(Run(ScrollCommand, c.args), kStepEnd);
    EXPECT_EQ(clock.NowMs() - start, c.ms);
    EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::Play);
    EXPECT_FALSE(s.Mode.MenuLock);
    if (c.picture) {
      EXPECT_EQ(Screen(0, 0), PixelAt(*c.picture, c.endX, c.endY));
      EXPECT_EQ(Screen(799, 599), PixelAt(*c.picture, c.endX + 799, c.endY + 599));
    }
  }
  // The background surface did not change: the next update shows the layers.
  Run(ClrbCommand, "0");
  EXPECT_EQ(Screen(0, 0), (Bgr{10, 20, 30}));
}

TEST_F(PictureCommandTest, AClickStopsAScrollAtItsEnd) {
  OpenGame();
  const Bitmap tall = Pattern(4, 800, 700);
  const uint32_t start = clock.NowMs();
  ClickAt(start + 300);
  Run(ScrollCommand, "ATALL,0,10,0");
  EXPECT_LT(clock.NowMs() - start, 400u);
  EXPECT_EQ(Screen(0, 0), PixelAt(tall, 0, 0));
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::Play);
  EXPECT_EQ(s.Mode.EffectAbort, EffectAbort::None);
  EXPECT_FALSE(s.Mode.EffectRunning);
}

}  // namespace
}  // namespace zk
