#include <gtest/gtest.h>

#include "core/TForm1.h"
#include "graphics/Screen.h"
#include "platform/headless/Headless.h"
#include "resources/GameDefinition.h"
#include "resources/Settings.h"
#include "script/Interpreter.h"
#include "text/FakeRaster.h"
#include "text/MessageWindow.h"
#include "text/Text.h"

namespace zk {
namespace {

// A main window on the headless platform with a small game definition, the
// fake rasteriser and the text state set up as start-up leaves it.
struct Window : ::testing::Test {
  // Counts the times the application loop goes to sleep.
  struct SleepCountingClock : platform::HeadlessClock {
    int sleeps = 0;
    void WaitUntil(uint32_t deadlineMs) override {
      ++sleeps;
      HeadlessClock::WaitUntil(deadlineMs);
    }
  };
  SleepCountingClock clock;
  platform::HeadlessDisplay display;
  platform::HeadlessUi ui;
  test::FakeRaster raster;
  platform::Platform plat{&clock, &display, &ui, true, &raster};
  TForm1 form{plat, RunConfig{}};
  GameDefinition& def = form.Game.Def;
  TextState& text = form.Text;

  void SetUp() override {
    def.TXW_OFS_X = 0;
    def.TXW_OFS_Y = 400;
    def.TXW_SIZE_X = 800;
    def.TXW_SIZE_Y = 200;
    def.TX_OFS_X = 40;
    def.TX_OFS_Y = 20;
    def.TX_PITCH_X = 12;
    def.TX_PITCH_Y = 32;
    def.MOJI_MAX_X = 56;
    def.MOJI_MAX_Y = 5;
    def.TX2_OFS_X = 30;
    def.TX2_OFS_Y = 30;
    def.TX2_PITCH_X = 12;
    def.TX2_PITCH_Y = 36;
    def.MOJI_MAX2_X = 60;
    def.MOJI_MAX2_Y = 15;
    def.NP_OFS_X = 10;
    def.NP_OFS_Y = 4;
    def.NP_SZ_X = 120;
    def.NP_SZ_Y = 24;
    def.CLICK_WAIT_OFS_X = 760;
    def.CLICK_WAIT_OFS_Y = 560;
    def.CLICK_WAIT_SIZE_X = 24;
    def.CLICK_WAIT_SIZE_Y = 24;
    def.CLICK_WAIT_PAT = 4;
    def.CLICK_WAIT_TIMING = 2;
    form.Game.Settings.FONTSIZE = 19;
    form.State.Vars.S(kSysPlayerFunctions) = 1;
    form.State.Vars.S(kSysTextColour) = static_cast<int32_t>(kWhite);
    CreateMessageFont(form);
    LoadNamePlates(form);  // no archives: no plate pictures
    CreateMessageWindow(form);
    LoadTextPictures(form);
    InitTextColour(form);
    form.Gfx.Stage.Fill(100, 100, 100);
    form.Gfx.Scene.Fill(100, 100, 100);
  }

  const uint8_t* Screen(int x, int y) {
    return display.FrameBytes().data() + static_cast<size_t>(y) * platform::kScreenStride + 3 * x;
  }
  const uint8_t* Scene(int x, int y) { return form.Gfx.Scene.Row(y) + 3 * x; }
  // A click-wait sheet of four opaque frames: blue 10, 20, 30, 40.
  void FourFrameMark() {
    Bitmap& sheet = text.ClickWaitSheet;
    sheet.Resize(4 * 24, 48);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 96; ++x) {
        uint8_t* p = sheet.Row(y) + 3 * x;
        p[0] = p[1] = p[2] = y < 24 ? static_cast<uint8_t>(10 * (x / 24 + 1)) : 255;
      }
  }
  // The mark's frame on the screen ((10 k x 255) >> 8 is a level below 10 k:
  // frame k - 1 shows as k - 1).
  int MarkFrame() { return Screen(770, 570)[0] / 10; }
  // Columns of row y of the scene where a glyph of the fake raster put its
  // first (fully covered) column: the fake glyph's left edge is 2 pixels
  // into its cell.
  std::vector<int> InkColumns(int y) {
    std::vector<int> xs;
    for (int x = 0; x < 800; ++x)
      if (Scene(x, y)[2] == 254 && (x == 0 || Scene(x - 1, y)[2] != 254)) xs.push_back(x - 2);
    return xs;
  }
  void PutOnPage(int row, int column, const char* bytes, int colour = 0) {
    const size_t n = std::strlen(bytes);
    std::memcpy(&form.State.Interp.Page[row][column], bytes, n);
    form.State.Interp.PageColours[row][column] = static_cast<uint8_t>(colour);
    text.PageClean = false;
  }
};

// The fake glyph's rows lie 4-6 pixels into the cell (ascent 20, origin 18).
constexpr int kInkRow = 4;

TEST_F(Window, FullWidthCharactersTakeTwoCellsOfThePitch) {
  // Row 1 of the page: "あい" from cell 2, then "A" right after.
  PutOnPage(1, 2,
            "\x82\xa0\x82\xa2"
            "A");
  RedrawPage(form, true);
  const int y = 400 + 20 + 32 + kInkRow;
  EXPECT_EQ(InkColumns(y), (std::vector<int>{40 + 24, 40 + 48, 40 + 72}));
  // Only the glyph areas reached the screen.
  EXPECT_EQ(Screen(40 + 24 + 2, y)[2], 254);
  EXPECT_EQ(Screen(40 + 24 + 2, y - 10)[2], 0);

  // The string helpers: byte position i (from 1) at x + 12 i; centred moves
  // left by half the length in cells.
  Bitmap target;
  target.Resize(300, 40);
  DrawString(form, "\x82\xa0\x82\xa2", 100, target, 0, 0);
  DrawStringCentred(form, "\x82\xa0", 100, target, 0, 0);
  std::vector<int> xs;
  for (int x = 1; x < 300; ++x)
    if (target.Row(kInkRow)[3 * x + 2] == 254 && target.Row(kInkRow)[3 * x - 1] != 254)
      xs.push_back(x - 2);
  EXPECT_EQ(xs, (std::vector<int>{100, 112, 136}));
}

TEST_F(Window, PageRedrawDrawsThePlateRowsAndColours) {
  def.NAME[0] = {true, "\x88\xa4", 0x0000FF};  // entry 0 is never used
  PutOnPage(0, 0, "\x88\xa4");
  PutOnPage(1, 0, "A", 2);  // red
  PutOnPage(4, 0, "B", 5);  // blue, the last row of the window
  PutOnPage(5, 0, "C", 0);  // beyond MOJI_MAX_Y rows
  RedrawPage(form, false);
  const int x = 40 + 2;
  EXPECT_EQ(Scene(x, 420 + 32 + kInkRow)[2], 254);  // red
  EXPECT_EQ(Scene(x, 420 + 32 + kInkRow)[0], 0);
  EXPECT_EQ(Scene(x, 420 + 128 + kInkRow)[0], 254);  // blue
  EXPECT_EQ(Scene(x, 420 + 160 + kInkRow)[0], 100);  // row 5 not drawn
  EXPECT_EQ(form.State.Vars.S(kSysTextColour), static_cast<int32_t>(kWhite));
  EXPECT_EQ(Screen(x, 420 + 32 + kInkRow)[2], 0);  // the scene only

  // A clean page draws nothing at all.
  form.Gfx.Scene.Fill(100, 100, 100);
  text.PageClean = true;
  RedrawPage(form, false);
  EXPECT_EQ(Scene(x, 420 + 32 + kInkRow)[2], 100);
}

TEST_F(Window, SpeakerPlateShowsTheEntryAndTakesItsColour) {
  def.NAME[0] = {true, "P", 0x00FF00};
  def.NAME[7] = {true, "Q", 0xFF8000};
  // Plate 7: a plain picture of the plate size, opaque red.
  text.Plates.resize(7);
  Bitmap& plate = text.Plates[6];
  plate.Resize(def.NP_SZ_X, 2 * def.NP_SZ_Y);
  for (int y = 0; y < 2 * def.NP_SZ_Y; ++y)
    for (int x = 0; x < def.NP_SZ_X; ++x) {
      uint8_t* p = plate.Row(y) + 3 * x;
      p[0] = p[1] = y < def.NP_SZ_Y ? 0 : 255;
      p[2] = 255;
    }
  form.State.Mode.WindowShown = true;
  ComposeMessageWindow(form);

  ShowNamePlate(form, "P");  // only entry 0 has this name
  EXPECT_EQ(form.State.Vars.S(kSysTextColour), static_cast<int32_t>(kWhite));
  EXPECT_EQ(Screen(20, 410)[2], 0);

  ShowNamePlate(form, "Q");
  EXPECT_EQ(form.State.Vars.S(kSysTextColour), 0xFF8000);
  EXPECT_EQ(Screen(20, 410)[2], 254);
  EXPECT_EQ(Scene(20, 410)[2], 254);
  EXPECT_EQ(Scene(20, 410)[0], 0);
  // Text after the plate is drawn in the speaker's colour.
  PrintPageChar(form, "A", 1, 2, 1);
  EXPECT_EQ(Scene(40 + 24 + 2, 420 + 32 + kInkRow)[0], 254);  // blue 0xFF
  EXPECT_EQ(Scene(40 + 24 + 2, 420 + 32 + kInkRow)[1], (0x80 * 255) >> 8);
}

TEST_F(Window, TheComposedWindowIsCachedUntilTheSceneChanges) {
  form.State.Mode.WindowShown = true;
  form.Gfx.Stage.Fill(10, 20, 30);
  DrawMessageWindowLayer(form);
  EXPECT_EQ(Scene(5, 450)[2], 30);  // no frame picture: transparent
  EXPECT_TRUE(text.WindowCacheValid);
  form.Gfx.Stage.Fill(0, 0, 0);
  DrawMessageWindowLayer(form);
  EXPECT_EQ(Scene(5, 450)[2], 30);  // from the cache
  InvalidateMessageWindow(form);
  DrawMessageWindowLayer(form);
  EXPECT_EQ(Scene(5, 450)[2], 0);
}

TEST_F(Window, FullScreenTextWithFullDarkeningIsBlack) {
  form.State.Vars.S(kSysFullScreenText) = 1;
  form.Game.Settings.TXBG_A2 = 255;
  form.State.Mode.WindowShown = true;
  form.Gfx.Stage.Fill(255, 255, 255);
  PutOnPage(0, 0, "A");  // in full-screen text mode row 0 is text too
  DrawMessageWindowLayer(form);
  EXPECT_EQ(Scene(400, 300)[0], 0);
  EXPECT_EQ(Scene(30 + 40, 30 + kInkRow + 20)[1], 0);
  EXPECT_EQ(Scene(30 + 2, 30 + kInkRow)[1], 254);  // the text on it

  form.Game.Settings.TXBG_A2 = 0;
  DrawMessageWindowLayer(form);
  EXPECT_EQ(Scene(400, 300)[0], 254);  // scaled by 255 / 256
}

TEST_F(Window, ClickWaitMarkCyclesItsFramesAndErasesToTheScene) {
  FourFrameMark();
  std::vector<int> frames;
  const int presents = display.Presents();
  for (int tick = 0; tick < 16; ++tick) {
    AnimateWaitCursor(form);
    frames.push_back(MarkFrame());
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0}));
  // Only a tick that changes the picture shows it.
  EXPECT_EQ(display.Presents() - presents, 5);
  EXPECT_EQ(Scene(770, 570)[0], 100);  // the scene is left as it was
  EraseWaitCursor(form);
  EXPECT_EQ(Screen(770, 570)[0], 100);
  EXPECT_EQ(Screen(783, 583)[0], 100);

  // Not while skipping; in full-screen text mode at the text cursor.
  form.State.Mode.SkipMode = SkipMode::On;
  AnimateWaitCursor(form);
  EXPECT_EQ(Screen(770, 570)[0], 100);
  form.State.Mode.SkipMode = SkipMode::Off;
  form.State.Vars.S(kSysFullScreenText) = 1;
  form.State.Interp.Column = 4;
  form.State.Interp.Row = 2;
  AnimateWaitCursor(form);
  EXPECT_NE(Screen(30 + 48 + 5, 30 + 72 + 5)[0], 0);
  EXPECT_EQ(Screen(770, 570)[0], 100);
}

// While the game waits for a click the loop sleeps until the mark changes
// its frame; the ticks slept through run when it wakes, before the input
// that woke it, so counters and screen are those of a tick-by-tick run.
TEST_F(Window, AWaitForAClickSleepsUntilTheMarkChanges) {
  FourFrameMark();
  form.State.Wait.ClickWait = ClickWait::Page;
  clock.SetSink(&form);
  clock.StartTimer();
  struct Seen {
    uint32_t ticks;
    int frame;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  form.HarnessEvent = [&](const platform::Event&) {
    seen.push_back({form.State.Shell.TickCounter, MarkFrame()});
  };
  platform::Event dump;
  dump.type = platform::EventType::Dump;
  // At 165 ms a tick falls due at the same moment: the event comes first.
  clock.AddEvents({{130, dump}, {165, dump}, {700, dump}});
  form.Run(LoopLimits{55 * 32 + 1, false});
  EXPECT_EQ(seen, (std::vector<Seen>{{2, 0}, {2, 0}, {12, 3}}));
  EXPECT_EQ(form.State.Shell.TickCounter, 32u);
  EXPECT_EQ(text.WaitCounter, 32);
  EXPECT_EQ(MarkFrame(), 0);
  // Woken for the first mark, every fourth tick and the events, not 32 times.
  EXPECT_LE(clock.sleeps, 14);

  // Input that changed the screen under the mark wakes the next tick.
  CopyToScreen(form, form.Gfx.Scene);
  EXPECT_EQ(form.QuietTicks(), 0);
  form.Timer1Timer();
  EXPECT_EQ(MarkFrame(), 0);
  EXPECT_EQ(form.QuietTicks(), 2);  // counters 34 and 35 draw frame 0 again
}

TEST_F(Window, PageResetShowsAnEmptyWindowOrTheDarkenedPage) {
  // An opaque frame of blue 40 (its opacity half 255).
  Bitmap picture;
  picture.Resize(800, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 800; ++x) std::fill_n(picture.Row(y) + 3 * x, 3, y < 200 ? 40 : 255);
  BuildWindowFrame(picture, Bitmap{}, 800, 200, 0, 0, 0, 0, text.Frame);
  struct Case {
    bool fullScreen;
    bool shown;
    uint8_t expected;  // blue at (100, 450): the window, or the stage darkened
  };
  for (const Case& c : {Case{false, false, 39}, Case{false, true, 39}, Case{true, false, 50},
                        Case{true, true, 50}}) {
    form.State.Vars.S(kSysFullScreenText) = c.fullScreen;
    form.Game.Settings.TXBG_A2 = 127;  // scale by 128 / 256
    form.State.Mode.WindowShown = c.shown;
    InvalidateMessageWindow(form);
    form.Gfx.Stage.Fill(100, 100, 100);
    form.Gfx.Scene.Fill(7, 7, 7);  // the old page
    DrawPageReset(form);
    EXPECT_TRUE(form.State.Mode.WindowShown);
    EXPECT_EQ(Screen(100, 450)[0], c.expected) << c.fullScreen << c.shown;
    EXPECT_EQ(Scene(100, 450)[0], c.expected) << c.fullScreen << c.shown;
  }
}

TEST_F(Window, HidingShowsTheStageAndShowingPutsTheSceneBack) {
  form.Gfx.Stage.Fill(1, 2, 3);
  form.Gfx.Scene.Fill(7, 8, 9);
  HideMessageWindow(form);
  EXPECT_EQ(form.State.Mode.ScreenMode, ScreenMode::WindowHidden);
  EXPECT_EQ(Screen(10, 500)[0], 1);
  ShowMessageWindow(form);
  EXPECT_EQ(form.State.Mode.ScreenMode, ScreenMode::Play);
  EXPECT_EQ(Screen(10, 500)[0], 7);
  // With the player functions off the window stays.
  form.State.Vars.S(kSysPlayerFunctions) = 0;
  HideMessageWindow(form);
  EXPECT_EQ(form.State.Mode.ScreenMode, ScreenMode::Play);
}

// Characters one step prints in a row are shown together: the screen is
// presented when the step stops printing, not for every character.
TEST_F(Window, PrintedTextIsShownWhenTheStepStopsPrinting) {
  InterpreterState& in = form.State.Interp;
  struct Case {
    int charDelay;
    const char* line;
    std::vector<int> chars;  // where the characters are on the line
    int presents;
  };
  for (const Case& c : {Case{0, "ABC", {0, 1, 2}, 1}, Case{0, "AB%5C", {0, 1, 4}, 2},
                        Case{1, "ABC", {0, 1, 2}, 3}}) {
    form.State.Wait.CharDelay = c.charDelay;
    std::strcpy(in.LineBuffer, c.line);
    const int before = display.Presents();
    int column = 2;
    for (int i : c.chars) {
      in.LinePos = i + 1;  // the interpreter has moved past the character
      PrintPageChar(form, &in.LineBuffer[i], 1, column++, 1);
    }
    EXPECT_EQ(display.Presents() - before, c.presents) << c.line << " " << c.charDelay;
    EXPECT_EQ(Screen(40 + 24 + 2, 420 + 32 + kInkRow)[2], 254);
  }
}

TEST_F(Window, NothingIsDrawnInSkipModeTwoOrWithoutAFont) {
  form.State.Mode.SkipMode = SkipMode::NoText;
  PrintPageChar(form, "A", 1, 2, 1);
  EXPECT_EQ(Scene(40 + 24 + 2, 420 + 32 + kInkRow)[2], 100);
  form.State.Mode.SkipMode = SkipMode::Off;
  raster.Missing = U'A';
  PrintPageChar(form, "A", 1, 2, 1);
  EXPECT_EQ(Scene(40 + 24 + 2, 420 + 32 + kInkRow)[2], 100);
  // Odd codes and positions off the screen.
  PrintPageChar(form, "\x81", 1, 2, 1);
  PrintPageChar(form, "\xff\xff", 2, -100, 90);
  PrintPageChar(form, "\x82\xa0", 2, 200, 3);
}

}  // namespace
}  // namespace zk
