// The numbered transitions on the virtual clock: frames, duration, the final
// picture, what a click does, fast graphics and skipping; the frame clock;
// the cross-fades.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "graphics/FrameClock.h"
#include "graphics/Graphics.h"
#include "graphics/Transitions.h"
#include "GraphicsFixture.h"

namespace zk {
namespace {

struct TimingCase {
  int number;
  int s016;       // dissolve levels setting
  int presents;   // frames shown, the final picture included
  uint32_t ms;    // duration on the virtual clock
};

// Frame counts and durations worked out from each type's definition, with
// S020 = 250 and S021 = 550 (their start-up values) for the iris.
const TimingCase kTiming[] = {
    {0, 0, 1, 0},       {1, 0, 17, 240},     {2, 0, 17, 320},     {3, 0, 71, 1400},
    {4, 0, 76, 1500},   {5, 0, 117, 2320},   {6, 0, 14, 130},     {7, 0, 61, 900},
    {8, 0, 81, 800},    {9, 0, 23, 880},     {10, 0, 58, 1710},   {11, 0, 60, 1770},
    {12, 0, 136, 2700}, {13, 0, 130, 6450},  {14, 0, 51, 1000},   {15, 0, 100, 0},
    {16, 0, 48, 1410},  {17, 0, 65, 3200},   {17, 4, 17, 800},    {17, 129, 65, 3200},
    {18, 0, 13, 480},   {19, 0, 40, 585},    {20, 0, 21, 1600},   {21, 0, 32, 465},
    {22, 0, 32, 465},   {23, 0, 32, 465},    {24, 0, 132, 5240},  {25, 0, 0, 0},
    {99, 0, 0, 0},
};

TEST_F(GraphicsTest, EveryTransitionRunsItsFramesAndEndsOnTheScene) {
  const Bitmap oldPic = Pattern(1), newPic = Pattern(2);
  for (const TimingCase& c : kTiming) {
    SCOPED_TRACE("transition " + std::to_string(c.number) + " S016 " + std::to_string(c.s016));
    s.Vars.S(20) = 250;
    s.Vars.S(21) = 550;
    s.Vars.S(16) = c.s016;
    s.Vars.S(kSysSleepCut) = 1;
    PrepareSwap(oldPic, newPic);
    const uint32_t start = clock.NowMs();
    RunTransition(form, c.number);
    EXPECT_EQ(clock.NowMs() - start, c.ms);
    EXPECT_EQ(static_cast<int>(display.shown.size()), c.presents);
    EXPECT_EQ(s.Vars.S(kSysSleepCut), 0);
    EXPECT_FALSE(s.Mode.InputLock);
    EXPECT_FALSE(s.Mode.EffectRunning);
    if (c.number >= 25) {
      // Nothing is drawn: the window keeps the old picture.
      EXPECT_TRUE(WindowEquals(oldPic));
      continue;
    }
    EXPECT_TRUE(WindowEquals(newPic));
    // A transition with frames shows something in between.
    if (c.presents > 2) {
      const auto middle = std::count(display.shown.begin(), display.shown.end() - 1, Shown::Other);
      EXPECT_GT(middle, 0);
    }
  }
}

TEST_F(GraphicsTest, TransitionFramesShowTheirPattern) {
  const Bitmap oldPic = Solid(800, 600, 0, 0, 0), newPic = Solid(800, 600, 160, 160, 160);
  display.keepFrames = 1;
  auto firstFrame = [&](int number) {
    PrepareSwap(oldPic, newPic);
    display.kept.clear();
    RunTransition(form, number);
    Bitmap b;
    b.Resize(800, 600);
    b.Pixels.assign(display.kept.at(0).begin(), display.kept.at(0).end());
    return b;
  };
  const Bgr oldC{0, 0, 0}, newC{160, 160, 160};

  // 1: columns x mod 16 = 0 first.
  Bitmap f = firstFrame(1);
  EXPECT_EQ(PixelAt(f, 0, 10), newC);
  EXPECT_EQ(PixelAt(f, 16, 599), newC);
  EXPECT_EQ(PixelAt(f, 1, 10), oldC);
  // 6: the first frame is the mix at weight 48: 160 * 48 / 256 = 30.
  f = firstFrame(6);
  EXPECT_EQ(PixelAt(f, 123, 456), (Bgr{30, 30, 30}));
  // 17 with 16 levels: even rows, even pixels to 1/16 of the way.
  s.Vars.S(16) = 0;
  f = firstFrame(17);
  EXPECT_EQ(PixelAt(f, 0, 0), (Bgr{10, 10, 10}));
  EXPECT_EQ(PixelAt(f, 1, 0), oldC);
  EXPECT_EQ(PixelAt(f, 1, 1), oldC);
  // 18: 32 columns either side of the centre.
  f = firstFrame(18);
  EXPECT_EQ(PixelAt(f, 368, 0), newC);
  EXPECT_EQ(PixelAt(f, 431, 0), newC);
  EXPECT_EQ(PixelAt(f, 367, 0), oldC);
  EXPECT_EQ(PixelAt(f, 432, 0), oldC);
  // 4: a circle of radius 5 around (400, 300).
  f = firstFrame(4);
  EXPECT_EQ(PixelAt(f, 400, 300), newC);
  EXPECT_EQ(PixelAt(f, 405, 300), newC);
  EXPECT_EQ(PixelAt(f, 406, 300), oldC);
  EXPECT_EQ(PixelAt(f, 400, 294), oldC);
}

TEST_F(GraphicsTest, PushSlidesTheNewPictureInFromTheLeft) {
  const Bitmap oldPic = Pattern(3), newPic = Pattern(4);
  display.keepFrames = 1;
  PrepareSwap(oldPic, newPic);
  RunTransition(form, 19);
  Bitmap f;
  f.Resize(800, 600);
  f.Pixels.assign(display.kept.at(0).begin(), display.kept.at(0).end());
  EXPECT_EQ(PixelAt(f, 0, 7), PixelAt(newPic, 780, 7));
  EXPECT_EQ(PixelAt(f, 19, 7), PixelAt(newPic, 799, 7));
  EXPECT_EQ(PixelAt(f, 20, 7), PixelAt(oldPic, 0, 7));
  EXPECT_EQ(PixelAt(f, 799, 7), PixelAt(oldPic, 779, 7));
}

struct AbortCase {
  int number;
  uint32_t clickMs;  // after the start
  int s019;
  uint32_t ms;       // total duration
};

// Groups: most end at the next frame and set S019; 6 runs to its end and
// then sets it; 9, 13, 17 and 24 end at the next frame without it; 0 and 25
// have no frames to cut. A deadline wait takes messages after its sleep, the
// frame clock before it, so a click shows one period later there.
const AbortCase kAborts[] = {
    {1, 50, 1, 60},    {3, 95, 1, 100},   {5, 30, 1, 60},   {12, 30, 1, 60},
    {14, 30, 1, 40},   {16, 45, 1, 60},   {19, 20, 1, 45},  {6, 15, 1, 130},
    {9, 50, 0, 120},   {13, 120, 0, 200}, {17, 80, 0, 100}, {24, 50, 0, 120},
    {0, 0, 0, 0},      {25, 0, 0, 0},
};

TEST_F(GraphicsTest, AClickEndsATransitionAsItsGroupRequires) {
  const Bitmap oldPic = Pattern(5), newPic = Pattern(6);
  for (const AbortCase& c : kAborts) {
    SCOPED_TRACE("transition " + std::to_string(c.number));
    PrepareSwap(oldPic, newPic);
    const uint32_t start = clock.NowMs();
    ClickAt(start + c.clickMs);
    RunTransition(form, c.number);
    clock.Pump();  // a click not taken during the transition
    EXPECT_EQ(s.Vars.S(kSysSleepCut), c.s019);
    EXPECT_EQ(clock.NowMs() - start, c.ms);
    EXPECT_TRUE(WindowEquals(c.number == 25 ? oldPic : newPic));
    s.Mode.EffectAbort = EffectAbort::None;
  }
}

TEST_F(GraphicsTest, FastGraphicsAndSkippingMakeEveryTransitionInstant) {
  const Bitmap oldPic = Pattern(7), newPic = Pattern(8);
  struct Case {
    int gmode, skip;
  } cases[] = {{1, 0}, {0, 1}, {2, 1}};
  for (const Case& c : cases) {
    s.Settings.GMode = c.gmode;
    s.Mode.SkipMode = static_cast<SkipMode>(c.skip);
    for (int number : {4, 13, 24, 25}) {
      PrepareSwap(oldPic, newPic);
      const uint32_t start = clock.NowMs();
      RunTransition(form, number);
      EXPECT_EQ(clock.NowMs(), start);
      EXPECT_EQ(display.shown.size(), 1u);
      EXPECT_TRUE(WindowEquals(newPic));  // even 25 becomes a plain copy
    }
  }
}

TEST_F(GraphicsTest, FrameClockCountsElapsedPeriods) {
  struct Case {
    uint32_t busyMs;  // time spent before the wait
    int period;
    int periods;
    uint32_t endsAt;  // after the start
  } cases[] = {
      {0, 40, 1, 40}, {39, 40, 1, 40}, {40, 40, 2, 80}, {95, 40, 3, 120}, {0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    FrameClock fc(clock);
    const uint32_t start = clock.NowMs();
    clock.Advance(c.busyMs);
    EXPECT_EQ(fc.Wait(c.period), c.periods);
    EXPECT_EQ(clock.NowMs() - start, c.endsAt);
  }
  // The start moves by whole periods, so the next wait keeps the phase.
  FrameClock fc(clock);
  const uint32_t start = clock.NowMs();
  fc.Wait(40);
  clock.Advance(10);
  EXPECT_EQ(fc.Wait(40), 1);
  EXPECT_EQ(clock.NowMs() - start, 80u);
  // A deadline in the past does not sleep.
  fc.WaitUntil(start);
  EXPECT_EQ(clock.NowMs() - start, 80u);
}

TEST_F(GraphicsTest, CrossFadeShowsItsStepsAndASlowMachineSkipsFrames) {
  const Bitmap oldPic = Solid(800, 600, 0, 0, 0), newPic = Solid(800, 600, 255, 255, 255);
  // 24 / 40 ms: sums 0, 24 ... 240 (11 frames), then the scene.
  display.keepFrames = 11;
  PrepareSwap(oldPic, newPic);
  uint32_t start = clock.NowMs();
  CrossFadeByType(form, 1);
  EXPECT_EQ(clock.NowMs() - start, 440u);
  ASSERT_EQ(display.shown.size(), 12u);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(display.kept[i][0], 255 * 24 * i / 256) << "frame " << i;
  EXPECT_TRUE(WindowEquals(newPic));

  // Each present costs 70 ms: two periods pass per frame, the sum advances by
  // 48 and the fade takes the same time with half the frames.
  display.presentCostMs = 70;
  PrepareSwap(oldPic, newPic);
  start = clock.NowMs();
  CrossFadeByType(form, 1);
  display.presentCostMs = 0;
  EXPECT_EQ(display.shown.size(), 7u);  // sums 0, 48 ... 240, then the scene
  EXPECT_EQ(clock.NowMs() - start, 480u + 70u);

  // A click after the third frame: the scene at once.
  PrepareSwap(oldPic, newPic);
  start = clock.NowMs();
  ClickAt(start + 100);
  CrossFade(form, 24, 40);
  // The wait after the frame at 120 ms takes the click; the next frame ends it.
  EXPECT_EQ(display.shown.size(), 6u);  // sums 0, 24, 48, 72, 96, then the scene
  EXPECT_EQ(clock.NowMs() - start, 160u);
  EXPECT_TRUE(WindowEquals(newPic));
  EXPECT_FALSE(s.Mode.InputLock);
  EXPECT_FALSE(s.Mode.EffectRunning);
}

TEST_F(GraphicsTest, TheStarMaskExistsOnlyWhileTheStarRuns) {
  PrepareSwap(Pattern(1), Pattern(2));
  RunTransition(form, 24);
  EXPECT_TRUE(g.TransitionMask.Empty());
}

}  // namespace
}  // namespace zk
