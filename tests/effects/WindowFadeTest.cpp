// Opening and closing the message window: the cross-fade on the frame clock,
// its end on a click, and the instant change while skipping.
#include "core/FormFixture.h"
#include "core/QuickButtons.h"
#include "effects/Effects.h"
#include "graphics/Graphics.h"
#include "script/CommandHandlers.h"

namespace zk {
namespace {

// The stage (scene without the window) is black, the scene with the window
// is grey 200; the screen shows the scene.
struct WindowFade : FormTest {
  Bitmap* stage = nullptr;
  Bitmap* scene = nullptr;
  std::vector<uint8_t> midFade;  // the screen as a harness screenshot saw it

  void SetUp() override {
    FormTest::SetUp();
    stage = StageSurface(form);
    scene = SceneSurface(form);
    ASSERT_NE(stage, nullptr);
    ASSERT_NE(scene, nullptr);
    stage->Resize(800, 600);
    stage->Fill(0, 0, 0);
    scene->Resize(800, 600);
    scene->Fill(200, 200, 200);
    std::fill(display.Frame(), display.Frame() + platform::kScreenStride * 600, 200);
    form.HarnessEvent = [this](const platform::Event&) { midFade = display.FrameBytes(); };
  }
  void At(uint32_t ms, platform::EventType type) {
    platform::Event e;
    e.type = type;
    e.x = 100;
    e.y = 100;
    clock.AddEvents({{ms, e}});
  }
  uint8_t Screen() const { return display.FrameBytes()[300 * platform::kScreenStride + 1200]; }
  void Close() { CmdWinClose(form, nullptr, nullptr); }
};

TEST_F(WindowFade, CloseFadesOutInThirtyTwoStepsOfTenMilliseconds) {
  s.Wait.ClickWait = ClickWait::Page;
  s.Interp.Column = 7;
  s.Interp.Row = 2;
  s.Interp.ColourIndex = 3;
  At(50, platform::EventType::Screenshot);
  const uint32_t t0 = clock.NowMs();
  Close();
  EXPECT_EQ(clock.NowMs() - t0, 320u);
  ASSERT_FALSE(midFade.empty());
  const uint8_t mid = midFade[300 * platform::kScreenStride + 1200];
  EXPECT_GT(mid, 0);
  EXPECT_LT(mid, 200);
  EXPECT_EQ(Screen(), 0);
  EXPECT_EQ(scene->Row(300)[1200], 0);  // the scene is now the stage
  EXPECT_FALSE(s.Mode.WindowShown);
  EXPECT_FALSE(s.Mode.InputLock);
  EXPECT_FALSE(s.Mode.EffectRunning);
  // The text starts over at the top left in the speaker's colour.
  EXPECT_EQ(s.Interp.Column, 0);
  EXPECT_EQ(s.Interp.Row, 0);
  EXPECT_EQ(s.Interp.ColourIndex, 0);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Page);
}

TEST_F(WindowFade, AClickEndsEitherFadeAtOnce) {
  s.Wait.ClickWait = ClickWait::Line;
  At(45, platform::EventType::MouseDown);
  uint32_t t0 = clock.NowMs();
  Close();
  EXPECT_LT(clock.NowMs() - t0, 70u);
  EXPECT_EQ(Screen(), 0);
  EXPECT_FALSE(s.Mode.WindowShown);
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Line);  // the click only ended the fade

  // Open again: the window comes back whole when clicked.
  At(clock.NowMs() + 25, platform::EventType::MouseDown);
  t0 = clock.NowMs();
  CmdWinOpen(form, nullptr, nullptr);
  EXPECT_LT(clock.NowMs() - t0, 50u);
  EXPECT_TRUE(s.Mode.WindowShown);
  EXPECT_FALSE(s.Mode.InputLock);
  EXPECT_EQ(Screen(), scene->Row(300)[1200]);
}

TEST_F(WindowFade, SkippingClosesAndOpensAtOnce) {
  s.Mode.SkipMode = SkipMode::On;
  const uint32_t t0 = clock.NowMs();
  Close();
  EXPECT_EQ(clock.NowMs(), t0);
  EXPECT_FALSE(s.Mode.WindowShown);
  EXPECT_EQ(Screen(), 0);
  CmdWinOpen(form, nullptr, nullptr);
  EXPECT_EQ(clock.NowMs(), t0);
  EXPECT_TRUE(s.Mode.WindowShown);
}

TEST_F(WindowFade, NothingToDoWhenAlreadyInThatState) {
  s.Mode.WindowShown = false;
  const uint32_t t0 = clock.NowMs();
  Close();
  CmdWinOpen(form, nullptr, nullptr);
  CmdWinOpen(form, nullptr, nullptr);  // already open now: no second fade
  EXPECT_EQ(clock.NowMs() - t0, 320u);
  // In full-screen text mode win_close leaves the page alone.
  s.Vars.S(kSysFullScreenText) = 1;
  Close();
  EXPECT_TRUE(s.Mode.WindowShown);
}

}  // namespace
}  // namespace zk
