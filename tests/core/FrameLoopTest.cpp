#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "HeadlessForm.h"

namespace zk {
namespace {

// The frame loop without start-up.
struct Loop : HeadlessForm {
  void SetUp() override {
    clock.SetSink(&form);
    clock.StartTimer();
  }
  uint32_t IdlePassMs() {
    uint32_t t0 = clock.NowMs();
    form.AppIdle();
    return clock.NowMs() - t0;
  }
};

TEST_F(Loop, IdlePassIsPacedFromItsStart) {
  s.Interp.ScriptRunning = true;
  EXPECT_EQ(IdlePassMs(), 20u);
  s.SetAutoDelay(10);
  EXPECT_EQ(IdlePassMs(), 55u);
  s.SetAutoDelay(1);
  EXPECT_EQ(IdlePassMs(), 19u);
  // A pass that does not reach the interpreter keeps the 20 ms pace.
  s.Wait.ClickWait = ClickWait::Line;
  EXPECT_EQ(IdlePassMs(), 20u);
}

TEST_F(Loop, SleepFramesCountDownButMinusOneWaitsForAClick) {
  s.Interp.ScriptRunning = true;
  s.Wait.SleepFrames = 2;
  form.AppIdle();
  form.AppIdle();
  EXPECT_EQ(s.Wait.SleepFrames, 0);
  s.Wait.SleepFrames = -1;
  for (int i = 0; i < 50; ++i) form.AppIdle();
  EXPECT_EQ(s.Wait.SleepFrames, -1);
  EXPECT_FALSE(form.IdleWanted());
  form.PBMouseDown(10, 10, false);
  EXPECT_EQ(s.Wait.SleepFrames, 0);
  EXPECT_EQ(s.Vars.S(kSysSleepCut), 1);
}

TEST_F(Loop, SkipModeReleasesWaitsAtTheNextPass) {
  s.Mode.SkipMode = SkipMode::On;
  for (int kind : {1, 2, 4, 5}) {
    s.Wait.ClickWait = static_cast<ClickWait>(kind);
    EXPECT_TRUE(form.IdleWanted());
    form.AppIdle();
    EXPECT_EQ(s.Wait.ClickWait, ClickWait::None) << "kind " << kind;
  }
}

TEST_F(Loop, TimerCountsWaitTicksAndAutoModeReleasesTheWait) {
  s.Wait.WaitTicks = 2;
  form.Timer1Timer();
  form.Timer1Timer();
  EXPECT_EQ(s.Wait.WaitTicks, 0);

  s.SetAutoDelay(5);
  s.Wait.ClickWait = ClickWait::Line;
  s.Wait.AutoCountdown = 2;
  form.Timer1Timer();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Line);
  form.Timer1Timer();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
}

TEST_F(Loop, AutoModeNeverReleasesWhileAVoicePlays) {
  s.SetAutoDelay(3);
  s.Wait.ClickWait = ClickWait::Page;
  s.Wait.AutoCountdown = 0;
  form.VoiceStandIn = true;
  for (int i = 0; i < 100; ++i) form.Timer1Timer();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Page);
  EXPECT_EQ(s.Wait.AutoCountdown, 1);
  form.VoiceStandIn = false;
  form.Timer1Timer();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
}

TEST_F(Loop, TimerTicksEvery55MsAndDropsMissedTicks) {
  int ticks = 0;
  struct Counter : platform::EventSink {
    int* n;
    void HandleEvent(const platform::Event&) override {}
    void HandleTimer() override { ++*n; }
  } counter;
  counter.n = &ticks;
  clock.SetSink(&counter);
  clock.SleepMs(54);
  clock.Pump();
  EXPECT_EQ(ticks, 0);
  clock.SleepMs(1);
  clock.Pump();
  EXPECT_EQ(ticks, 1);
  // Three intervals pass while busy: one tick, then the phase continues.
  clock.SleepMs(165);
  clock.Pump();
  clock.Pump();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(clock.NextTimerDue(), 275u);
}

TEST_F(Loop, CloseQueryDuringAnEffectIsRefusedAndMarked) {
  s.Mode.EffectRunning = true;
  EXPECT_FALSE(form.FormCloseQuery());
  EXPECT_EQ(s.Mode.EffectAbort, EffectAbort::CloseRequested);
  EXPECT_TRUE(ui.Shown().empty());  // no question yet

  s.Mode.EffectRunning = false;
  s.Mode.InputLock = true;
  EXPECT_FALSE(form.FormCloseQuery());
  EXPECT_TRUE(ui.Shown().empty());

  s.Mode.InputLock = false;
  ui.QueueAnswer("Cancel");
  EXPECT_FALSE(form.FormCloseQuery());
  ASSERT_EQ(ui.Shown().size(), 1u);
  EXPECT_EQ(ui.Shown()[0], "確認: ゲームを終了しますか？");
  EXPECT_TRUE(form.FormCloseQuery());  // OK by default
  EXPECT_EQ(s.Mode.EffectAbort, EffectAbort::FinishNow);

  s.Mode.QuitRequested = true;
  EXPECT_TRUE(form.FormCloseQuery());
  EXPECT_EQ(ui.Shown().size(), 2u);  // a requested quit does not ask
}

TEST_F(Loop, FullScreenFallsBackToAWindow) {
  struct NoFullScreen : platform::HeadlessDisplay {
    bool SetFullScreen(int mode) override { return mode == 0; }
  } refusing;
  platform::Platform p{&clock, &refusing, &ui, true};
  TForm1 f(p, RunConfig{});
  f.State.Shell.DisplayMode = DisplayMode::FullScreen;
  f.EnterFullScreen();
  EXPECT_EQ(f.State.Shell.FullScreenActive, 0);
  EXPECT_TRUE(refusing.ToolbarVisible());

  s.Shell.DisplayMode = DisplayMode::FullScreen;
  form.EnterFullScreen();
  EXPECT_EQ(s.Shell.FullScreenActive, 1);
  EXPECT_FALSE(display.ToolbarVisible());
  form.PBMouseMove(100, 10);  // the tool bar strip shows the tool bar
  EXPECT_TRUE(display.ToolbarVisible());
  form.PBMouseMove(500, 10);
  EXPECT_FALSE(display.ToolbarVisible());
  form.LeaveFullScreen();
  EXPECT_EQ(s.Shell.FullScreenActive, 0);
  EXPECT_EQ(display.FullScreenMode(), 0);
}

TEST_F(Loop, CtrlHeldSkipsUntilReleased) {
  form.FormKeyDown(platform::kKeyCtrl);
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::On);
  form.FormKeyUp(platform::kKeyCtrl);
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::Off);
}

TEST_F(Loop, IdlePassesStopWhileTheGameWaitsForTheClick) {
  s.Interp.ScriptRunning = true;
  EXPECT_TRUE(form.IdleWanted());
  s.Wait.ClickWait = ClickWait::Page;
  EXPECT_FALSE(form.IdleWanted());
  s.Wait.ClickDebounce = 2;  // counting down needs idle passes
  EXPECT_TRUE(form.IdleWanted());
}

// Which ticks the loop may sleep through: those that would only count.
TEST_F(Loop, QuietTicksOnlyWhileTicksWouldOnlyCount) {
  struct Case {
    const char* what;
    std::function<void(TForm1&)> set;
    int quiet;  // -1: many
  };
  platform::HeadlessDevPanel view(clock);
  const std::vector<Case> cases = {
      {"script running", [](TForm1&) {}, -1},
      {"click wait, no mark to draw", [](TForm1& f) { f.State.Wait.ClickWait = ClickWait::Page; },
       -1},
      {"auto mode counts down",
       [](TForm1& f) {
         f.State.Wait.ClickWait = ClickWait::Page;
         f.State.SetAutoDelay(5);
       },
       0},
      {"a voice may end", [](TForm1& f) { f.VoiceStandIn = true; }, 0},
      {"the wait for a voice ends at the next tick",
       [](TForm1& f) { f.State.Wait.WaitForVoice = true; }, 0},
      {"WaitTicks counts down to 1 quietly", [](TForm1& f) { f.State.Wait.WaitTicks = 5; }, 4},
      {"deferred music", [](TForm1& f) { f.State.Shell.DeferredMusicState = 2; }, 0},
      {"a movie plays", [](TForm1& f) { f.State.Shell.MovieTag = 3; }, 0},
      {"staff roll", [](TForm1& f) { f.State.Mode.ScreenMode = ScreenMode::StaffRoll; }, 0},
      {"window hidden", [](TForm1& f) { f.State.Mode.ScreenMode = ScreenMode::WindowHidden; }, -1},
      {"the pointer left the screen",
       [](TForm1& f) {
         f.PBMouseMove(100, 100);
         f.PointerX = -1;
       },
       0},
      {"the developer panel is shown at the next tick",
       [&view](TForm1& f) { f.Plat.devPanel = &view; }, 0},
      {"watch list refreshes at tick 16",
       [](TForm1& f) {
         f.Dev.RealTimeWatch = true;
         f.State.Shell.TickCounter = 13;
       },
       2},
  };
  for (const Case& c : cases) {
    platform::Platform own = plat;
    TForm1 f(own, RunConfig{});
    c.set(f);
    const int quiet = f.QuietTicks();
    if (c.quiet < 0)
      EXPECT_GT(quiet, 1000) << c.what;
    else
      EXPECT_EQ(quiet, c.quiet) << c.what;
  }
}

}  // namespace
}  // namespace zk
