// The quick-button panel: hover and its filters, the actions, the function
// keys and the drawing of the button states.
#include "FormFixture.h"
#include "core/QuickButtons.h"

namespace zk {
namespace {

struct QuickButtons : FormTest {
  // The middle of slot k's button on the screen.
  static int SlotX(int k) {
    const QuickButtonSlot& b = kQuickButtonLayout[k - 1];
    return kQuickPanelX + b.X + b.Width / 2;
  }
  static int SlotY(int k) { return kQuickPanelY + kQuickButtonLayout[k - 1].Y + 12; }
};

TEST_F(QuickButtons, HoverFindsTheSlotAndAppliesTheFilters) {
  struct Case {
    const char* What;
    int Slot;  // pointer over this slot (0: at the panel's corner, over no button)
    int ScreenMode, ChoiceMode, ReplayKind, BgAnim;
    bool SkipReadOnly, TextRead;
    int Expected;
  } cases[] = {
      {"quick save", 4, 0, 0, 0, 0, false, false, 4},
      {"quick load", 5, 0, 0, 0, 0, false, false, 5},
      {"settings", 8, 0, 0, 0, 0, false, false, 8},
      {"no button", 0, 0, 0, 0, 0, false, false, 0},
      {"save during a replay", 4, 0, 0, 2, 0, false, false, 0},
      {"load during a background animation", 5, 0, 0, 0, 6, false, false, 0},
      {"backlog", 6, 0, 0, 0, 0, false, false, 6},
      {"backlog while a choice is open", 6, 0, 1, 0, 0, false, false, 0},
      {"skip over read text", 1, 0, 0, 0, 0, true, true, 1},
      {"skip over unread text", 1, 0, 0, 0, 0, true, false, 0},
      {"skip in the rewind view", 1, 9, 0, 0, 0, false, false, 1},
      {"settings in the rewind view", 8, 9, 0, 0, 0, false, false, 0},
      {"save in the rewind view", 4, 9, 0, 0, 0, false, false, 0},
      {"another screen", 4, 4, 0, 0, 0, false, false, 0},
  };
  for (const Case& c : cases) {
    s.Mode.ScreenMode = static_cast<ScreenMode>(c.ScreenMode);
    s.Mode.ChoiceMode = static_cast<ChoiceMode>(c.ChoiceMode);
    s.Mode.ReplayKind = static_cast<ReplayKind>(c.ReplayKind);
    s.Mode.BgAnimFrames = c.BgAnim;
    s.Settings.SkipReadOnly = c.SkipReadOnly;
    s.Wait.CurrentTextRead = c.TextRead;
    form.QuickButtons.HoverButton = 0;
    const int x = c.Slot ? SlotX(c.Slot) : kQuickPanelX;
    const int y = c.Slot ? SlotY(c.Slot) : kQuickPanelY;
    EXPECT_EQ(QuickButtonHover(form, x, y, 0), c.Expected) << c.What;
    if (c.Expected) {
      EXPECT_EQ(Button(c.Expected), 1) << c.What;
    }
  }
}

TEST_F(QuickButtons, HoverEdgesAndStateReset) {
  // Slot 4 covers x 13..76 and y 32..55 of the panel.
  EXPECT_EQ(QuickButtonHover(form, kQuickPanelX + 13, kQuickPanelY + 32, 0), 4);
  EXPECT_EQ(QuickButtonHover(form, kQuickPanelX + 76, kQuickPanelY + 55, 0), 4);
  EXPECT_EQ(QuickButtonHover(form, kQuickPanelX + 12, kQuickPanelY + 40, 0), 0);
  EXPECT_EQ(QuickButtonHover(form, kQuickPanelX + 40, kQuickPanelY + 56, 1), 0);
  EXPECT_EQ(QuickButtonHover(form, kQuickPanelX + 40, kQuickPanelY + 64, 1), 5);
  // A state a script wrote lasts until the next movement.
  Button(8) = 8;
  Button(1) = 2;
  form.PBMouseMove(10, 10);
  for (int k = 1; k <= kQuickButtonCount; ++k) EXPECT_EQ(Button(k), 0) << k;
  // Moving while skipping does not touch the panel (the skip button stays lit).
  s.Mode.SkipMode = SkipMode::On;
  Button(1) = 2;
  form.PBMouseMove(SlotX(4), SlotY(4));
  EXPECT_EQ(Button(1), 2);
  EXPECT_EQ(form.QuickButtons.HoverButton, 0);
}

TEST_F(QuickButtons, ClickOnAButtonPerformsItInsteadOfAdvancing) {
  s.Wait.ClickWait = ClickWait::Line;
  form.PBMouseMove(SlotX(6), SlotY(6));
  Click(SlotX(6), SlotY(6));
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Line);
  EXPECT_EQ(Button(6), 0);  // shown pressed while the backlog opened
  // Over no button the click releases the wait.
  form.PBMouseMove(100, 100);
  Click(100, 100);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
}

TEST_F(QuickButtons, ActionsThroughTheFunctionKeys) {
  struct Case {
    const char* What;
    int Key;  // F1..F12 as 1..12
    int32_t AutoBefore, LastAutoBefore;
    SkipMode SkipBefore;
    int32_t AutoAfter, LastAutoAfter;
    SkipMode SkipAfter;
  } cases[] = {
      {"F5 skip on", 5, 0, 0, SkipMode::Off, 0, 0, SkipMode::On},
      {"F5 skip off", 5, 0, 0, SkipMode::On, 0, 0, SkipMode::Off},
      {"F7 auto on, no kept delay", 7, 0, 0, SkipMode::Off, 6, 6, SkipMode::Off},
      {"F7 auto on, kept delay", 7, 0, 3, SkipMode::Off, 3, 3, SkipMode::Off},
      {"F7 auto off keeps the delay", 7, 4, 0, SkipMode::Off, 0, 4, SkipMode::Off},
      {"F8 slower", 8, 3, 0, SkipMode::Off, 4, 0, SkipMode::Off},
      {"F8 at the slowest", 8, 10, 0, SkipMode::Off, 10, 0, SkipMode::Off},
      {"F8 without auto mode", 8, 0, 0, SkipMode::Off, 0, 0, SkipMode::Off},
      {"F6 faster", 6, 3, 0, SkipMode::Off, 2, 0, SkipMode::Off},
      {"F6 at the fastest", 6, 1, 0, SkipMode::Off, 1, 0, SkipMode::Off},
      {"F10 hides the window and ends auto", 10, 5, 0, SkipMode::Off, 0, 0, SkipMode::Off},
  };
  s.Settings.SkipReadOnly = false;
  for (const Case& c : cases) {
    s.SetAutoDelay(c.AutoBefore);
    s.Vars.S(kSysLastAutoDelay) = c.LastAutoBefore;
    s.Mode.SkipMode = c.SkipBefore;
    s.Mode.ScreenMode = ScreenMode::Play;
    FunctionKey(form, c.Key);
    EXPECT_EQ(s.AutoDelay(), c.AutoAfter) << c.What;
    EXPECT_EQ(s.Vars.S(kSysLastAutoDelay), c.LastAutoAfter) << c.What;
    EXPECT_EQ(s.Mode.SkipMode, c.SkipAfter) << c.What;
  }
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::WindowHidden);  // F10 hid the window
}

TEST_F(QuickButtons, FunctionKeyDoesNotLeaveItsActionForTheNextClick) {
  s.Settings.SkipReadOnly = false;
  s.Wait.ClickWait = ClickWait::Line;
  FunctionKey(form, 5);  // skip on
  FunctionKey(form, 5);  // skip off
  EXPECT_EQ(form.QuickButtons.HoverButton, 0);
  s.SetAutoDelay(3);
  FunctionKey(form, 8);
  EXPECT_EQ(form.QuickButtons.HoverButton, 0);
  // In auto mode a click performs a hovered button; none may be left over.
  s.Wait.AutoCountdown = 9;
  Click(100, 100);
  EXPECT_EQ(s.AutoDelay(), 4);
  EXPECT_EQ(s.Wait.AutoCountdown, 1);
}

// A sheet whose three rows of looks have distinct colours, and a window frame
// of a fourth colour: the panel shows which look each slot has.
TEST_F(QuickButtons, PanelShowsEachButtonInTheLookOfItsState) {
  Bitmap sheet;
  sheet.Resize(700, 72);
  for (int y = 0; y < 72; ++y)
    for (int x = 0; x < 700; ++x)
      sheet.Row(y)[3 * x] = static_cast<uint8_t>(y < 24 ? 10 : y < 48 ? 20 : 30);
  Bitmap frame;
  frame.Resize(800, 200);
  frame.Fill(40, 40, 40);
  SetQuickButtonPictures(form, sheet, frame, 0, 440);

  auto screenBlue = [&](int k) {
    return display
        .FrameBytes()[static_cast<size_t>(SlotY(k)) * platform::kScreenStride + SlotX(k) * 3];
  };
  struct Case {
    int32_t State;
    uint8_t Blue;
  } cases[] = {{0, 40}, {1, 20}, {2, 30}, {3, 30}, {8, 40}, {9, 40}, {10, 40}};
  for (const Case& c : cases) {
    Button(4) = c.State;
    DrawQuickButtons(form, 0);
    EXPECT_EQ(screenBlue(4), c.Blue) << "state " << c.State;
  }
  // Hidden window: the panel stays off the screen.
  s.Mode.WindowShown = false;
  Button(4) = 2;
  std::vector<uint8_t> before = display.FrameBytes();
  DrawQuickButtons(form, 1);
  EXPECT_EQ(display.FrameBytes(), before);
  // Skipping lights the skip button.
  s.Mode.WindowShown = true;
  s.Mode.SkipMode = SkipMode::On;
  Button(1) = 0;
  DrawQuickButtons(form, 0);
  EXPECT_EQ(Button(1), 2);
  EXPECT_EQ(screenBlue(1), 30);
}

TEST_F(QuickButtons, PanelPicturesFromAnOddWindowStayInside) {
  // A window frame smaller than the panel and far off: only the overlap is
  // copied, nothing outside any picture is touched.
  Bitmap sheet;
  sheet.Resize(10, 10);
  Bitmap frame;
  frame.Resize(30, 30);
  frame.Fill(7, 7, 7);
  SetQuickButtonPictures(form, sheet, frame, 690, 450);
  EXPECT_EQ(form.QuickButtons.Background.Row(0)[0], 7);
  EXPECT_EQ(form.QuickButtons.Background.Row(119)[3 * 77], 0);
  SetQuickButtonPictures(form, sheet, frame, -5000, 99999);
  EXPECT_EQ(form.QuickButtons.Background.Row(0)[0], 0);
  for (int k = 1; k <= kQuickButtonCount; ++k) Button(k) = 1;
  DrawQuickButtons(form, 1);
}

}  // namespace
}  // namespace zk
