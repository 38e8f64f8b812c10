// Opening and closing the message window: a cross-fade between the scene
// with and without the window on the frame clock, and the two commands.
#include "core/TForm1.h"
#include "effects/Effects.h"
#include "effects/pixel/PixelOps.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "text/Text.h"

namespace zk {

namespace {

constexpr int kFadePeriodMs = 10;
constexpr int kFadeStep = 8;

// Shows a's weight rising from 0 over b, 8 levels per 10 ms period, until the
// level passes 255 or a click asks the fade to end.
void CrossFade(TForm1& f, const Bitmap& a, const Bitmap& b, Bitmap& out) {
  ModeState& m = f.State.Mode;
  const EffectLock lock(m);
  int level = 0;
  while (level < 256) {
    MixFrames(a, b, level, out);
    CopyToScreen(f, out);
    PresentScreen(f);
    if (m.EffectAbort != EffectAbort::None) break;
    level += kFadeStep * FrameClockWait(f, kFadePeriodMs);
  }
}

// The fade's work surface: the engine's output surface, or one of our own
// while graphics has none.
Bitmap& FadeSurface(TForm1& f, Bitmap& fallback) {
  if (Bitmap* out = OutputSurface(f)) return *out;
  fallback.Resize(platform::kScreenWidth, platform::kScreenHeight);
  return fallback;
}

}  // namespace

void WinClose(TForm1& f) {
  ModeState& m = f.State.Mode;
  InterpreterState& in = f.State.Interp;
  in.LargeText = false;
  in.ColourIndex = 0;
  in.Column = 0;
  in.Row = 0;
  ShowNamePlate(f, "");
  if (!m.WindowShown) return;
  Bitmap* stage = StageSurface(f);
  Bitmap* scene = SceneSurface(f);
  if (stage && scene) {
    FrameClockStart(f);
    if (m.SkipMode == SkipMode::Off) {
      Bitmap fallback;
      CrossFade(f, *stage, *scene, FadeSurface(f, fallback));
    }
    CopyToScreen(f, *stage);
    *scene = *stage;
    PresentScreen(f);
  }
  m.WindowShown = false;
  m.InputLock = false;
  MarkPageClean(f);
}

void WinOpen(TForm1& f) {
  ModeState& m = f.State.Mode;
  if (m.WindowShown) return;
  Bitmap* scene = SceneSurface(f);
  Bitmap* previous = PreviousFrameSurface(f);
  if (scene && previous) *previous = *scene;
  m.WindowShown = true;
  BuildSceneSurface(f);
  if (scene && previous) {
    FrameClockStart(f);
    if (m.SkipMode == SkipMode::Off) {
      Bitmap fallback;
      CrossFade(f, *scene, *previous, FadeSurface(f, fallback));
    }
    CopyToScreen(f, *scene);
    PresentScreen(f);
  }
  MarkPageClean(f);
}

// The commands; `win_close` acts in window mode only.
StepResult CmdWinClose(TForm1& f, char*, char*) {
  if (f.State.Vars.S(kSysFullScreenText) == 0) WinClose(f);
  return kStepContinue;
}

StepResult CmdWinOpen(TForm1& f, char*, char*) {
  WinOpen(f);
  return kStepContinue;
}

}  // namespace zk
