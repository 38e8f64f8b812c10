// Mouse, keys, wheel, tool bar and menus of the main window.
#include "FormFixture.h"
#include "core/Input.h"
#include "core/QuickButtons.h"

namespace zk {
namespace {

using platform::kKeyCtrl;
using platform::kKeyDown;
using platform::kKeyShift;
using platform::kKeyUp;
constexpr int kF9 = platform::kKeyF1 + 8;
constexpr int kF12 = platform::kKeyF12;

struct Input : FormTest {};

TEST_F(Input, ClickStopsTheVoiceExceptOnATildeWaitOrWhenKept) {
  struct Case {
    int ClickWait;
    bool KeepVoice;
    bool VoiceAfter;
  } cases[] = {
      {4, false, true}, {1, false, false}, {2, false, false}, {5, false, false}, {1, true, true}};
  for (const Case& c : cases) {
    s.Wait.ClickWait = static_cast<ClickWait>(c.ClickWait);
    s.Wait.ClickDebounce = 0;
    s.Settings.KeepVoiceOnClick = c.KeepVoice;
    form.VoiceStandIn = true;
    Click(100, 100);
    EXPECT_EQ(form.VoiceStandIn, c.VoiceAfter) << "wait " << c.ClickWait << " keep " << c.KeepVoice;
    EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
  }
}

TEST_F(Input, AClickDuringAnEffectOnlyAsksItToEnd) {
  s.Mode.EffectRunning = true;
  s.Wait.ClickWait = ClickWait::Page;
  form.VoiceStandIn = true;
  Click(100, 100);
  EXPECT_EQ(s.Mode.EffectAbort, EffectAbort::FinishNow);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Page);  // the text does not advance
  EXPECT_FALSE(form.VoiceStandIn);
}

TEST_F(Input, HeldSkipKeySkipsUntilReleased) {
  for (bool swap : {false, true}) {
    SCOPED_TRACE(swap ? "swapped" : "normal");
    s.Settings.SwapCtrlShift = swap;
    s.SetAutoDelay(0);
    s.Vars.S(kSysLastAutoDelay) = 0;
    const int skipKey = swap ? kKeyShift : kKeyCtrl;
    const int autoKey = swap ? kKeyCtrl : kKeyShift;

    form.FormKeyDown(skipKey);
    EXPECT_EQ(s.Mode.SkipMode, SkipMode::On);
    EXPECT_EQ(Button(1), 2);
    for (int i = 0; i < 3; ++i) {
      form.FormKeyDown(skipKey);  // key repeat while held
      s.Wait.ClickWait = ClickWait::Line;
      form.AppIdle();
      EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
      EXPECT_EQ(s.Mode.SkipMode, SkipMode::On);
    }
    form.FormKeyUp(skipKey);
    EXPECT_EQ(s.Mode.SkipMode, SkipMode::Off);
    EXPECT_EQ(Button(1), 0);

    // The other key switches auto mode, at delay 5 when none was kept.
    Key(autoKey);
    EXPECT_EQ(s.AutoDelay(), 5);
    EXPECT_EQ(s.Mode.SkipMode, SkipMode::Off);
    Key(autoKey);
    EXPECT_EQ(s.AutoDelay(), 0);
  }
}

TEST_F(Input, SavePermissionAgainstQuickSaveAndQuickLoadKeys) {
  // F9 asks the quick-load question; F12 flashes the quick-save button for
  // 50 ms before saving; Q saves without a flash.
  struct Case {
    int32_t S000;
    int Key;
    bool Acts;
  } cases[] = {{0, kF9, true},   {0, kF12, true}, {1, kF9, true},
               {1, kF12, false}, {2, kF9, false}, {2, kF12, false}};
  for (const Case& c : cases) {
    s.Vars.S(kSysSavePermission) = c.S000;
    s.Mode.DialogKind = DialogKind::None;
    const uint32_t t0 = clock.NowMs();
    Key(c.Key);
    const bool acted =
        c.Key == kF9 ? s.Mode.DialogKind == DialogKind::QuickLoad : clock.NowMs() >= t0 + 50;
    EXPECT_EQ(acted, c.Acts) << "S000 " << c.S000 << " key " << platform::KeyName(c.Key);
  }
  s.Mode.DialogKind = DialogKind::None;
  for (int32_t p : {0, 1, 2, 3}) {
    s.Vars.S(kSysSavePermission) = p;
    EXPECT_EQ(SavingAllowed(form), p == 0) << p;
    EXPECT_EQ(LoadingAllowed(form), p <= 1) << p;
  }
  // Saving also needs the player functions.
  s.Vars.S(kSysSavePermission) = 0;
  s.Vars.S(kSysPlayerFunctions) = 0;
  EXPECT_FALSE(SavingAllowed(form));
}

TEST_F(Input, RightClickHidesTheWindowAndTheNextShowsIt) {
  s.Settings.RightClickAction = RightClickAction::HideWindow;
  s.Wait.ClickWait = ClickWait::Page;
  Click(300, 300, true);
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::WindowHidden);
  s.Wait.ClickDebounce = 0;
  Click(300, 300, true);
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::Play);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Page);  // showing the window does not release the wait
}

TEST_F(Input, ArrowKeysWalkThePointerOverTheChoiceList) {
  s.Mode.ChoiceMode = ChoiceMode::TextList;
  s.Mode.ChoiceCount = 5;
  s.Mode.ChoiceListTop = 234 - 5 * 25;
  s.Mode.ChoiceListLeft = 200;
  s.Mode.ChoiceButtonWidth = 400;
  auto optionY = [&](int k) { return s.Mode.ChoiceListTop + 31 + 50 * (k - 1); };

  form.PBMouseMove(10, 10);  // outside the list: Up goes to the first option
  Key(kKeyUp);
  EXPECT_EQ(display.PointerX(), 593);
  EXPECT_EQ(display.PointerY(), optionY(1));
  for (int k = 2; k <= 5; ++k) {
    Key(kKeyDown);
    EXPECT_EQ(display.PointerY(), optionY(k));
  }
  Key(kKeyDown);  // stays on the last
  EXPECT_EQ(display.PointerY(), optionY(5));
  Key(kKeyUp);
  EXPECT_EQ(display.PointerY(), optionY(4));
  form.PBMouseMove(10, 10);  // none under the pointer: Down goes to the last
  Key(kKeyDown);
  EXPECT_EQ(display.PointerY(), optionY(5));
}

TEST_F(Input, ASecondClickWithinFiveIdlePassesDoesNotConfirmAChoice) {
  s.Interp.ScriptRunning = true;
  s.Mode.ChoiceMode = ChoiceMode::TextList;
  s.Mode.ChoiceHover = 1;
  Click(400, 200);
  EXPECT_EQ(s.Mode.ChoiceMode, ChoiceMode::None);
  // The next choice opens at once; a double click must not answer it too.
  s.Mode.ChoiceMode = ChoiceMode::TextList;
  s.Mode.ChoiceHover = 1;
  for (int pass = 0; pass < 4; ++pass) form.AppIdle();
  Click(400, 200);
  EXPECT_EQ(s.Mode.ChoiceMode, ChoiceMode::TextList);
  for (int pass = 0; pass < 5; ++pass) form.AppIdle();
  Click(400, 200);
  EXPECT_EQ(s.Mode.ChoiceMode, ChoiceMode::None);
}

TEST_F(Input, AutoModeClicks) {
  s.SetAutoDelay(4);
  s.Wait.ClickWait = ClickWait::Line;
  s.Wait.AutoCountdown = 20;
  Click(100, 100);  // hurries the countdown: released at the next tick
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Line);
  form.Timer1Timer();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
  Click(100, 100, true);  // a right click ends auto mode
  EXPECT_EQ(s.AutoDelay(), 0);
}

TEST_F(Input, ClickActionsOfS056) {
  s.Wait.ClickWait = ClickWait::Line;
  s.Vars.S(kSysClickAction) = 66;  // clicks ignored
  Click(100, 100);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Line);
  s.Vars.S(kSysClickAction) = 56;  // title return on the left button only
  s.Wait.SleepFrames = -1;
  form.PBMouseDown(100, 100, true);
  EXPECT_EQ(s.Vars.S(kSysClickAction), 56);
  form.PBMouseDown(100, 100, false);
  EXPECT_EQ(s.Vars.S(kSysClickAction), 0);
  EXPECT_EQ(s.Wait.SleepFrames, 0);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Line);  // the click did nothing else
}

TEST_F(Input, GameMenuItemsByCaption) {
  s.Settings.RightClickAction = RightClickAction::GameMenu;
  ui.QueueAnswer("スキップ");
  Click(100, 100, true);
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::On);
  EXPECT_EQ(Button(1), 2);
  EXPECT_FALSE(s.Mode.MenuOpen);

  s.Mode.SkipMode = SkipMode::Off;
  s.Wait.ClickDebounce = 0;
  ui.QueueAnswer("自動送り");
  Click(100, 100, true);
  EXPECT_EQ(s.AutoDelay(), 5);
  s.SetAutoDelay(0);

  // A disabled item cannot be chosen.
  s.Vars.S(kSysSavePermission) = 2;
  RefreshMenuStates(form);
  ui.QueueAnswer("クイックロード");
  Click(100, 100, true);
  EXPECT_EQ(s.Mode.DialogKind, DialogKind::None);
  s.Vars.S(kSysSavePermission) = 0;
  RefreshMenuStates(form);
  ui.QueueAnswer("クイックロード");
  Click(100, 100, true);
  EXPECT_EQ(s.Mode.DialogKind, DialogKind::QuickLoad);
}

TEST_F(Input, MenuRefreshEnablesTheToolBar) {
  struct Case {
    int32_t S000, S028;
    bool Lock;
    int32_t BgAnim;
    bool Panel, Quit, Settings, Save, Load;
  } cases[] = {
      {0, 1, false, 0, true, true, true, true, true},
      {1, 1, false, 0, true, true, true, false, true},
      {2, 1, false, 0, true, true, true, false, false},
      {3, 1, false, 0, true, true, true, false, false},
      {0, 0, false, 0, true, true, true, false, true},
      {0, 1, false, 8, true, true, false, false, false},
      {0, 1, true, 0, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    s.Vars.S(kSysSavePermission) = c.S000;
    s.Vars.S(kSysPlayerFunctions) = c.S028;
    s.Mode.MenuLock = c.Lock;
    s.Mode.BgAnimFrames = c.BgAnim;
    RefreshMenuStates(form);
    const bool expected[] = {c.Panel, c.Quit, c.Settings, c.Save, c.Load};
    for (int b = 0; b < 5; ++b)
      EXPECT_EQ(display.ToolbarButtonEnabled(b), expected[b])
          << "S000 " << c.S000 << " S028 " << c.S028 << " lock " << c.Lock << " anim " << c.BgAnim
          << " button " << b;
  }
}

TEST_F(Input, QuitButtonOpensTheQuitMenuAndItsItemClosesThroughTheQuestion) {
  s.Mode.SkipMode = SkipMode::On;
  s.SetAutoDelay(3);
  ui.QueueAnswer("ゲーム終了");
  ui.QueueAnswer("ok");
  platform::Event e;
  e.type = platform::EventType::ToolbarButton;
  e.button = 1;
  form.HandleEvent(e);
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::Off);
  EXPECT_EQ(s.AutoDelay(), 0);
  ASSERT_EQ(ui.Shown().size(), 1u);
  EXPECT_EQ(ui.Shown()[0], "確認: ゲームを終了しますか？");
  EXPECT_TRUE(form.Closed());
}

TEST_F(Input, DisabledOrLockedToolBarIgnoresItsButtons) {
  ui.QueueAnswer("ゲーム終了");
  s.Mode.MenuLock = true;
  RefreshMenuStates(form);
  form.ToolbarButtonClick(1);
  EXPECT_TRUE(ui.Shown().empty());
  s.Mode.MenuLock = false;
  RefreshMenuStates(form);
  s.Mode.InputLock = true;
  form.ToolbarButtonClick(1);
  EXPECT_TRUE(ui.Shown().empty());
}

TEST_F(Input, KeyPresses) {
  // Space: auto on at 5 when no delay was kept, off again keeping it.
  form.FormKeyPress(' ');
  EXPECT_EQ(s.AutoDelay(), 5);
  EXPECT_EQ(Button(2), 2);
  form.FormKeyPress(' ');
  EXPECT_EQ(s.AutoDelay(), 0);
  EXPECT_EQ(s.Vars.S(kSysLastAutoDelay), 5);
  // Enter and z are left clicks at the pointer.
  for (int ch : {'\r', 'z', 'Z'}) {
    s.Wait.ClickWait = ClickWait::Line;
    s.Wait.ClickDebounce = 0;
    form.FormKeyPress(ch);
    EXPECT_EQ(s.Wait.ClickWait, ClickWait::None) << ch;
  }
  // w hides the window, W shows it again.
  form.FormKeyPress('w');
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::WindowHidden);
  form.FormKeyPress('W');
  EXPECT_EQ(s.Mode.ScreenMode, ScreenMode::Play);
  // Nothing but Enter, Z, V and X while input is locked.
  s.Mode.InputLock = true;
  form.FormKeyPress(' ');
  EXPECT_EQ(s.AutoDelay(), 0);
}

}  // namespace
}  // namespace zk
