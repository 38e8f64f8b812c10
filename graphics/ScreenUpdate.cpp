// The screen update: layers into the stage, the colour filter, the
// full-screen-text ordering, the scene build and the transition; the sepia
// flash; painting; and the graphics entry points other subsystems call.
#include <algorithm>

#include "core/TForm1.h"
#include "graphics/FrameClock.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsHost.h"
#include "graphics/Screen.h"
#include "graphics/Surfaces.h"
#include "graphics/Transitions.h"

namespace zk {

namespace {
// Requests to the layers above go through the host interface.
GraphicsHost& Host(TForm1& f) {
  return *f.Hosts.Graphics;
}
}  // namespace

namespace {

void SepiaPixels(uint8_t* p, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, p += 3) {
    const unsigned grey = (p[0] + p[1] + p[2]) / 3u;
    p[0] = static_cast<uint8_t>(grey / 4);
    p[1] = static_cast<uint8_t>(grey * 3 / 4);
    p[2] = static_cast<uint8_t>(grey);
  }
}

void SepiaSurface(Bitmap& b) {
  for (int y = 0; y < b.Height; ++y) SepiaPixels(b.Row(y), static_cast<size_t>(b.Width));
}

}  // namespace

void ApplyStageFilter(TForm1& f) {
  Bitmap& stage = f.Gfx.Stage;
  const Banks& v = f.State.Vars;
  switch (v.S(kSysStageFilter)) {
    case 1: {
      // Brightness in sixteenths; brighter than 16/16 saturates instead of wrapping.
      const unsigned level = static_cast<unsigned>(std::clamp(v.S(kSysFilterLevel), 0, 4096));
      uint8_t table[256];
      for (unsigned i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(std::min(255u, (i * level) >> 4));
      for (uint8_t& b : stage.Pixels) b = table[b];
      break;
    }
    case 2:
      SepiaSurface(stage);
      break;
    case 3:
      for (int y = 0; y < stage.Height; ++y) {
        uint8_t* p = stage.Row(y);
        for (int x = 0; x < stage.Width; ++x, p += 3) {
          const uint8_t grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3u);
          p[0] = p[1] = p[2] = grey;
        }
      }
      break;
    case 4: {
      // Turned by 180 degrees: pixel (x, y) changes place with (w-1-x, h-1-y).
      const int w = stage.Width, h = stage.Height;
      for (int y = 0; y < (h + 1) / 2; ++y) {
        uint8_t* a = stage.Row(y);
        uint8_t* b = stage.Row(h - 1 - y);
        const int xEnd = (y == h - 1 - y) ? w / 2 : w;
        for (int x = 0; x < xEnd; ++x)
          std::swap_ranges(a + 3 * x, a + 3 * x + 3, b + 3 * (w - 1 - x));
      }
      break;
    }
    default:
      break;
  }
}

void BuildScene(TForm1& f) {
  GraphicsState& g = f.Gfx;
  const ModeState& m = f.State.Mode;
  const bool fullText = f.State.Vars.S(kSysFullScreenText) != 0;
  Host(f).ManpuErase();
  g.Scene.Resize(kSceneWidth, kSceneHeight);
  if (fullText) {
    CopyCovering(m.WindowShown ? g.TextPage : g.Stage, g.Scene);
  } else if (m.BgAnimFrames > 0) {
    Host(f).RestoreAnimationWindows();
  } else {
    CopyCovering(g.Stage, g.Scene);
  }
  if (m.WindowShown) Host(f).DrawMessageWindowLayer();
  if (m.ScreenMode == ScreenMode::Play && f.State.Vars.S(kSysDateDisplay) != 0 && !fullText)
    Host(f).DrawDatePanel();
}

void ScreenUpdate(TForm1& f, int transition) {
  GraphicsState& g = f.Gfx;
  ModeState& m = f.State.Mode;
  const Banks& v = f.State.Vars;
  const EffectLock lock(m, EffectLock::kInput);
  g.Scene.Resize(kSceneWidth, kSceneHeight);
  CopySurface(g.Scene, g.Previous);
  ComposeStage(f);
  ApplyStageFilter(f);
  // In full-screen text mode the background may change first and the text
  // page fade in afterwards.
  if (v.S(kSysFullScreenText) != 0 &&
      ((v.S(kSysUpdateMode) == 1 && g.BackgroundChanged) || v.S(kSysUpdateMode) == 2)) {
    CopyCovering(g.Stage, g.Scene);
    RunTransition(f, transition);
    CopySurface(g.Scene, g.Previous);
    transition = 6;
  }
  g.BackgroundChanged = false;
  BuildScene(f);
  RunTransition(f, transition);
}

void SepiaFlash(TForm1& f, int) {
  GraphicsState& g = f.Gfx;
  ModeState& m = f.State.Mode;
  const EffectLock lock(m, EffectLock::kInput);
  g.Stage.Resize(kSceneWidth, kSceneHeight);
  SepiaSurface(g.Stage);
  CopyCovering(g.Stage, g.Scene);
  if (m.WindowShown) Host(f).DrawMessageWindowLayer();
  // The fade starts from the previous-frame surface as it is: the picture
  // shown before the last screen update.
  g.Previous.Resize(kSceneWidth, kSceneHeight);
  const TransitionType& crossFade = TransitionTypeOf(6);
  const TransitionType fade{-1, "sepia flash", Pacing::FrameClock, 20, AbortRule::None,
                            48, 8, 256, nullptr, crossFade.Draw, nullptr, true};
  TransitionRun r(f);
  RunTransitionFrames(r, fade);
  CopyToScreen(f, g.Scene);
  PresentScreen(f);
}

void PaintScene(TForm1& f, bool stageOnly) {
  CopyToScreen(f, stageOnly ? f.Gfx.Stage : f.Gfx.Scene);
}

void ClearScreenToScene(TForm1& f) {
  FillScreen(f, 0);
  f.Gfx.Scene.Resize(kSceneWidth, kSceneHeight);
  std::fill(f.Gfx.Scene.Pixels.begin(), f.Gfx.Scene.Pixels.end(), 0);
}

void CreateSurfaces(TForm1& f) {
  // The frame stays what it was: what is shown of it and when text was
  // last shown stay known.
  const ScreenState screen = f.Gfx.Screen;
  f.Gfx = GraphicsState{};
  f.Gfx.Screen = screen;
  ClearScreenToScene(f);
  PresentScreen(f);
}

// ---------------------------------------------------------------- entry points for other subsystems

Bitmap* BackgroundSurface(TForm1& f) { return &f.Gfx.Background; }
Bitmap* StageSurface(TForm1& f) { return &f.Gfx.Stage; }
Bitmap* SceneSurface(TForm1& f) { return &f.Gfx.Scene; }
Bitmap* PreviousFrameSurface(TForm1& f) { return &f.Gfx.Previous; }
Bitmap* OutputSurface(TForm1& f) { return &f.Gfx.Output; }
void BuildSceneSurface(TForm1& f) { BuildScene(f); }
void RedrawScene(TForm1& f) { ScreenUpdate(f, 0); }

void FrameClockStart(TForm1& f) { f.Gfx.FrameClockStartMs = f.Plat.clock->NowMs(); }
int FrameClockWait(TForm1& f, int periodMs) {
  return FrameClockWaitFrom(*f.Plat.clock, f.Gfx.FrameClockStartMs, periodMs);
}
void WaitUntilTick(TForm1& f, uint32_t deadlineMs) { WaitUntilDeadline(*f.Plat.clock, deadlineMs); }

}  // namespace zk
