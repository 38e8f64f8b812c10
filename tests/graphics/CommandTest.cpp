// The graphics commands and the screen update around them, on the virtual
// clock. Pictures that no archive holds still move names through the layout
// and the slot cache; colour backgrounds need no pictures at all.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/Graphics.h"
#include "script/CommandTable.h"
#include "GraphicsFixture.h"

namespace zk {
namespace {

struct CommandTest : GraphicsTest {
  // Runs a command body on a writable copy of its argument text.
  template <typename Body>
  StepResult Run(Body body, const char* args) {
    std::string text(args);
    return body(form, text.data());
  }
  Bgr Screen(int x, int y) { return PixelAt(Window(), x, y); }
  std::string Layout() {
    std::string out;
    for (int i = 0; i < g.Layout.Count; ++i) out += std::string(i ? "," : "") + g.Layout.Names[i];
    return out;
  }
};

TEST_F(CommandTest, ColourBackgroundsReadThreeDigits) {
  struct Case {
    const char* args;
    Bgr colour;
  } cases[] = {
      {"S80G", {255, 0, 128}},  // red 0x80, green 0, blue 0xFF
      {"sfa0", {0, 160, 240}},
      {"SXYZ", {0, 0, 0}},
      {"S1", {0, 0, 16}},
      {"S00F,3", {240, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(GraCommand, c.args), kStepContinue);
    EXPECT_EQ(Screen(0, 0), c.colour);
    EXPECT_EQ(Screen(799, 599), c.colour);
    EXPECT_EQ(std::string(g.BackgroundName), std::string(c.args).substr(0, std::string(c.args).find(',')));
  }
}

TEST_F(CommandTest, GraClearsTheCharactersAndGrbOnlyPrepares) {
  Run(SprCommand, "BA,BB");
  ASSERT_EQ(Layout(), "BA,BB");
  Run(GraCommand, "S00F");

  // grb keeps the characters and shows nothing; a bg after it only prepares too.
  const int presents = display.Presents();
  Run(SprCommand, "BA,BB");
  const int afterSpr = display.Presents();
  EXPECT_GT(afterSpr, presents);
  EXPECT_EQ(Run(GrbCommand, "SF00 1"), kStepContinue);
  EXPECT_EQ(Layout(), "BA,BB");
  EXPECT_TRUE(g.PrepareOnly);
  Run(BgCommand, "S0F0 1");
  EXPECT_EQ(Layout(), "BA,BB");
  EXPECT_EQ(display.Presents(), afterSpr);
  EXPECT_EQ(std::string(g.BackgroundName), "S0F0");

  // gra clears the flag first, then acts: the characters go.
  Run(GraCommand, "S0F0");
  EXPECT_FALSE(g.PrepareOnly);
  EXPECT_EQ(Layout(), "");
  EXPECT_EQ(g.SpriteSpec[0], '\0');
  EXPECT_EQ(Screen(5, 5), (Bgr{0, 240, 0}));
}

TEST_F(CommandTest, SprKeepsDashPositionsAndTakesATrailingTransition) {
  uint32_t start = clock.NowMs();
  EXPECT_EQ(Run(SprCommand, "ba,bb,3"), kStepContinue);
  EXPECT_EQ(Layout(), "BA,BB");
  EXPECT_EQ(clock.NowMs() - start, 1400u);  // transition 3
  start = clock.NowMs();
  Run(SprCommand, "-,BC,0");
  EXPECT_EQ(Layout(), "BA,BC");
  EXPECT_EQ(clock.NowMs(), start);
  // Without a number the update uses transition 6.
  start = clock.NowMs();
  Run(SprCommand, "BD");
  EXPECT_EQ(clock.NowMs() - start, 130u);
}

TEST_F(CommandTest, GraPlacesCharactersLeftAndRight) {
  Run(GraCommand, "BA");
  EXPECT_EQ(Layout(), "BA");
  // R with exactly one character shown moves to a pair with only the right one.
  Run(GraCommand, "BB R");
  EXPECT_EQ(Layout(), ",BB");
  EXPECT_STREQ(g.SpriteSpec, ",BB");
  Run(GraCommand, "BC,l");
  EXPECT_EQ(Layout(), "BC,BB");
  // Without L or R: one character.
  Run(GraCommand, "BD 2");
  EXPECT_EQ(Layout(), "BD");
}

TEST_F(CommandTest, ClrbEmptiesOneSideOrEverything) {
  Run(SprCommand, "BA,BB,0");
  Run(ClrbCommand, "L");
  EXPECT_EQ(g.Layout.Count, 2);
  EXPECT_EQ(Layout(), ",BB");
  EXPECT_STREQ(g.SpriteSpec, ",BB");
  Run(ClrbCommand, "0r");
  EXPECT_EQ(Layout(), ",");
  const uint32_t start = clock.NowMs();
  Run(ClrbCommand, "2");
  EXPECT_EQ(g.Layout.Count, 0);
  EXPECT_EQ(clock.NowMs() - start, 320u);  // transition 2
}

TEST_F(CommandTest, OvrSwitchesTheOverlayAndPlacesIt) {
  s.Mode.WindowShown = true;
  EXPECT_EQ(Run(OvrCommand, "EV01,0,120,-30"), kStepEnd);
  EXPECT_EQ(s.Vars.S(35), 1);
  EXPECT_EQ(s.Vars.S(21), 120);
  EXPECT_EQ(s.Vars.S(22), -30);
  EXPECT_FALSE(s.Mode.WindowShown);
  const uint32_t start = clock.NowMs();
  Run(OvrCommand, "off");
  EXPECT_EQ(s.Vars.S(35), 0);
  EXPECT_EQ(s.Vars.S(21), 120);          // missing positions keep theirs
  EXPECT_EQ(clock.NowMs() - start, 130u);  // transition 6 by default
}

TEST_F(CommandTest, PtsetDrawsOverTheWindowUntilTheNextUpdate) {
  Run(GraCommand, "S000");
  // Parts: 20 x 10, blue; its left half is the transparent colour.
  g.Parts = Solid(20, 10, 255, 0, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) std::memcpy(g.Parts.Row(y) + 3 * x, "\xff\xff\x00", 3);
  PtsetDraw(form, 0, 0, 20, 10, 785, 595);  // partly off the window
  EXPECT_EQ(Screen(799, 599), (Bgr{255, 0, 0}));
  EXPECT_EQ(Screen(795, 595), (Bgr{255, 0, 0}));
  EXPECT_EQ(Screen(799, 594), (Bgr{0, 0, 0}));
  EXPECT_EQ(Screen(790, 597), (Bgr{0, 0, 0}));  // transparent
  PtsetDraw(form, 5, 5, 20, 10, -12, -2);
  EXPECT_EQ(Screen(0, 0), (Bgr{255, 0, 0}));
  // Rectangles outside the parts picture draw nothing and read nothing.
  PtsetDraw(form, -100, -100, 5000, 5000, 300, 300);
  PtsetDraw(form, 30, 0, 10, 10, 0, 0);
  Run(ClrbCommand, "0");
  EXPECT_EQ(Screen(799, 599), (Bgr{0, 0, 0}));
  EXPECT_EQ(Screen(0, 0), (Bgr{0, 0, 0}));
}

TEST_F(CommandTest, AClickDuringGraEndsTheStepAndReportsTheCut) {
  Run(GraCommand, "S000");
  ClickAt(clock.NowMs() + 50);
  EXPECT_EQ(Run(GraCommand, "SFFF 1"), kStepEnd);
  EXPECT_EQ(s.Vars.S(kSysSleepCut), 1);
  EXPECT_EQ(s.Mode.EffectAbort, EffectAbort::None);
  EXPECT_EQ(Screen(400, 300), (Bgr{240, 240, 240}));
  // Without a click the step goes on.
  EXPECT_EQ(Run(GraCommand, "S000 1"), kStepContinue);
  EXPECT_EQ(s.Vars.S(kSysSleepCut), 0);
}

TEST_F(CommandTest, FullScreenTextChangesTheBackgroundFirst) {
  s.Vars.S(kSysFullScreenText) = 1;
  struct Case {
    int s009;
    const char* command;  // a colour change, or a layout change
    uint32_t ms;
  } cases[] = {
      {1, "S00F 1", 240 + 130},  // background first with 1, then the page with 6
      {1, "BA 1", 240},          // no background change: one transition
      {2, "BA 1", 240 + 130},
      {0, "S0F0 1", 240},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.s009) + " " + c.command);
    s.Vars.S(9) = c.s009;
    const uint32_t start = clock.NowMs();
    Run(GraCommand, c.command);
    EXPECT_EQ(clock.NowMs() - start, c.ms);
  }
}

TEST_F(CommandTest, SepiaFlashTurnsTheStageSepiaAndFadesIn) {
  Run(GraCommand, "S888");  // grey 128
  const uint32_t start = clock.NowMs();
  const int presents = display.Presents();
  SepiaFlash(form, 3);
  EXPECT_EQ(clock.NowMs() - start, 26u * 20);  // weights 48, 56 ... 248
  EXPECT_EQ(display.Presents() - presents, 27);
  const Bgr sepia{32, 96, 128};
  EXPECT_EQ(Screen(10, 10), sepia);
  EXPECT_EQ(PixelAt(g.Stage, 10, 10), sepia);
  EXPECT_EQ(PixelAt(g.Scene, 10, 10), sepia);
  EXPECT_FALSE(s.Mode.InputLock);
}

TEST_F(CommandTest, MissingPicturesChangeNothing) {
  Run(GraCommand, "S0F0");
  Run(SprCommand, "BA,0");
  const int presents = display.Presents();
  for (const char* args : {"AMISSING 3", "", "   ", "Q1", "]"}) Run(GraCommand, args);
  Run(BgCommand, "MISSING");
  EXPECT_EQ(display.Presents(), presents);
  EXPECT_EQ(Layout(), "BA");
  EXPECT_EQ(std::string(g.BackgroundName), "S0F0");
  EXPECT_EQ(Run(ScrollCommand, "MISSING,0,10,0"), kStepEnd);
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::Play);
  EXPECT_EQ(Run(DirectCommand, "MISSING,1000,0,0"), kStepContinue);
  EXPECT_EQ(display.Presents(), presents);
}

TEST_F(CommandTest, GraphicsCommandsRunThroughTheDispatcher) {
  auto dispatch = [&](const char* line) {
    std::string buffer(line);
    const int index = MatchCommand(buffer.c_str() + 1);
    EXPECT_GE(index, 0) << line;
    return index < 0 ? kStepContinue : RunCommand(form, index, buffer.data());
  };
  EXPECT_EQ(dispatch("@gra S80G"), kStepContinue);
  EXPECT_EQ(Screen(0, 0), (Bgr{255, 0, 128}));
  EXPECT_EQ(dispatch("*SPR ba,bb,0"), kStepContinue);
  EXPECT_EQ(Layout(), "BA,BB");
  EXPECT_EQ(dispatch("@clrb 0L"), kStepContinue);
  EXPECT_EQ(Layout(), ",BB");
  EXPECT_EQ(dispatch("@grb S0F0"), kStepContinue);
  EXPECT_EQ(dispatch("@bg S00F"), kStepContinue);
  EXPECT_EQ(Screen(0, 0), (Bgr{255, 0, 128}));  // prepared, not shown
  EXPECT_EQ(dispatch("@ovr OFF,0"), kStepEnd);
  EXPECT_EQ(Screen(0, 0), (Bgr{240, 0, 0}));
  EXPECT_EQ(dispatch("@partsload P1,P2"), kStepContinue);
  EXPECT_EQ(s.Vars.S(15), 1);
  EXPECT_EQ(dispatch("@partsload P1"), kStepContinue);
  EXPECT_EQ(s.Vars.S(15), 0);
  g.Parts = Solid(20, 10, 1, 2, 3);
  s.Vars.V(1) = 790;
  EXPECT_EQ(dispatch("@ptset 0,0,2*5,10,v001,595"), kStepContinue);
  EXPECT_EQ(Screen(799, 599), (Bgr{1, 2, 3}));
  EXPECT_EQ(Screen(789, 599), (Bgr{240, 0, 0}));
  EXPECT_EQ(dispatch("@direct NONE,10,0,0"), kStepContinue);
  EXPECT_EQ(dispatch("@scroll NONE,0,10,0"), kStepEnd);
}

}  // namespace
}  // namespace zk
