// The drawing cost of one frame of each transition and of a screen update,
// on the headless platform (the virtual clock makes the waits free, so the
// time measured is the drawing alone). Counter "frame_ms" is the average
// drawing time of one shown frame in milliseconds; "period_ms" is the frame's
// pacing period, which the drawing has to stay well below on a real machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "graphics/Transitions.h"
#include "platform/headless/Headless.h"

namespace {

using namespace zk;

class CountingDisplay : public platform::HeadlessDisplay {
 public:
  void Present() override { ++frames; }
  long frames = 0;
};

struct Bench {
  platform::HeadlessClock clock;
  CountingDisplay display;
  platform::HeadlessUi ui;
  platform::Platform plat{&clock, &display, &ui, true};
  TForm1 form{plat, RunConfig{}};
  Bench() {
    std::mt19937 rng(7);
    for (uint8_t& v : form.Gfx.Previous.Pixels) v = static_cast<uint8_t>(rng());
    for (uint8_t& v : form.Gfx.Scene.Pixels) v = static_cast<uint8_t>(rng());
    form.State.Vars.S(kSysOverlayOrder) = 250;
    form.State.Vars.S(kSysOverlayX) = 550;
  }
};

void BM_Transition(benchmark::State& state) {
  Bench b;
  const int number = static_cast<int>(state.range(0));
  long frames = 0;
  double ms = 0;
  for (auto _ : state) {
    b.display.frames = 0;
    const auto t0 = std::chrono::steady_clock::now();
    RunTransition(b.form, number);
    ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    frames += b.display.frames;
  }
  state.counters["frame_ms"] = frames ? ms / static_cast<double>(frames) : 0.0;
  state.counters["period_ms"] = TransitionTypeOf(number).PeriodMs;
  state.SetLabel(TransitionTypeOf(number).Name);
}
BENCHMARK(BM_Transition)->DenseRange(1, 24)->Unit(benchmark::kMillisecond);

// A whole screen update: layers, scene build and an instant transition.
void BM_ScreenUpdate(benchmark::State& state) {
  Bench b;
  GraphicsState& g = b.form.Gfx;
  for (int i = 0; i < 2; ++i) {
    CharacterSlot& slot = g.Slots[i];
    slot.Sprite.Resize(400, 600);
    slot.Mask.Resize(400, 600);
    std::fill(slot.Mask.Pixels.begin(), slot.Mask.Pixels.end(), 200);
    std::snprintf(slot.Name, sizeof slot.Name, "B%d", i);
    std::snprintf(g.Layout.Names[i], sizeof g.Layout.Names[i], "B%d", i);
    g.Layout.Slot[i] = i;
  }
  g.Layout.Count = 2;
  b.form.State.Vars.S(kSysPositions + 1) = 250;
  b.form.State.Vars.S(kSysPositions + 2) = 550;
  for (auto _ : state) ScreenUpdate(b.form, 0);
}
BENCHMARK(BM_ScreenUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
