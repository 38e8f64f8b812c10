// The main window object: start-up hand-over, the idle pass, the timer tick,
// the close query, painting, full screen and the application loop.
//
// [SECTION] Construction and start-up
// [SECTION] Idle pass
// [SECTION] Timer tick
// [SECTION] Close, destroy, paint
// [SECTION] Full screen
// [SECTION] Application loop
#include "core/TForm1.h"

#include <algorithm>

#include "audio/Audio.h"
#include "base/Sjis.h"
#include "core/DevPanel.h"
#include "core/FormStartup.h"
#include "core/QuickButtons.h"
#include "core/Wiring.h"
#include "effects/Effects.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "script/Choices.h"
#include "script/Script.h"
#include "services/Services.h"
#include "text/Text.h"

namespace zk {

// ============================================================ [SECTION] Construction and start-up

TForm1::TForm1(platform::Platform& plat, RunConfig config)
    : Plat(plat), Config(std::move(config)), wiring_(std::make_unique<Wiring>(*this)) {}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  State.Mode.QuitRequested = false;
  // The generator is seeded from the clock; the virtual clock makes it repeatable.
  SeedRandom(Plat.clock->NowMs());
  RunStartup(*this);  // reads settings, archives, the game definition
  // --fullscreen / --window apply to this run only; nothing is written back.
  if (Config.DisplayOverride >= 0)
    State.Shell.DisplayMode = static_cast<DisplayMode>(Config.DisplayOverride);
  Plat.clock->SetSink(this);
  Plat.clock->StartTimer();
}

void TForm1::StartRoutine() {
  if (State.Mode.QuitRequested) {
    Close();
    return;
  }
  ClearScreenToScene(*this);
  PresentScreen(*this);
  if (State.Shell.DisplayMode != DisplayMode::Window) EnterFullScreen();
  ResetTextFonts(*this);
  State.Interp.CallDepth = 0;
  State.Interp.CurrentScript[0] = '\0';
  StartMainScript(*this);
  SoundInit(*this);
  State.Mode.StartPending = false;
}

// ============================================================ [SECTION] Idle pass

void TForm1::AppIdle() {
  ModeState& m = State.Mode;
  WaitState& w = State.Wait;
  platform::Clock& clock = *Plat.clock;

  ++State.Shell.IdleCounter;
  const uint32_t t0 = clock.NowMs();
  if (w.ClickDebounce > 0) --w.ClickDebounce;

  bool animate = true;
  if (m.BacklogOpen || m.DialogKind != DialogKind::None) {
    animate = false;
  } else {
    switch (m.ScreenMode) {
      case ScreenMode::Play:
        if (m.StartPending) {
          StartRoutine();
          m.StartPending = false;
          animate = false;
          break;
        }
        if (m.InputLock) {
          animate = false;
          break;
        }
        Random();  // drawn and discarded: random results depend on timing too
        if (m.QuitRequested) {
          Close();
          if (closed_) return;
        }
        if (m.SkipMode != SkipMode::Off) {
          if (EndsPage(w.ClickWait)) PageReset(*this);
          w.ClickWait = ClickWait::None;
        }
        if (m.ChoiceMode == ChoiceMode::None && w.WaitTicks == 0 &&
            w.ClickWait == ClickWait::None && !w.WaitForVoice) {
          if (w.SleepFrames != 0) {
            if (w.SleepFrames > 0) --w.SleepFrames;
          } else {
            if (State.Interp.ScriptRunning) InterpreterStep(*this);
            const int32_t autoDelay = State.AutoDelay();
            if (autoDelay != 0) {
              const uint32_t until = t0 + static_cast<uint32_t>(autoDelay * 4 + 15);
              const uint32_t now = clock.NowMs();
              if (now < until) clock.SleepMs(until - now);
              return;
            }
          }
        }
        break;
      case ScreenMode::StaffRoll:
        StaffRollIdle(*this);
        break;
      case ScreenMode::Map:
        MapIdle(*this);
        break;
      case ScreenMode::CgViewer:
        CgViewerIdle(*this);
        break;
      default:
        break;
    }
  }
  if (animate && m.BgAnimFrames > 0) BackgroundAnimationStep(*this);
  const uint32_t now = clock.NowMs();
  if (t0 + 20 > now) clock.SleepMs(t0 + 20 - now);
}

// ============================================================ [SECTION] Timer tick

void TForm1::Timer1Timer() {
  ModeState& m = State.Mode;
  WaitState& w = State.Wait;

  ++State.Shell.TickCounter;
  SoundTick(*this);

  if (State.Shell.MovieTag != 0) {
    if (State.Shell.MovieTag > 1) {
      --State.Shell.MovieTag;
    } else if (!MoviePlaying(*this)) {
      StopMovie(*this);  // [movie end] hides the movie and restores the screen
    }
    return;
  }

  WatchPanelRefresh(*this);
  EffectTick(*this);

  if (m.ScreenMode == ScreenMode::StaffRoll) {
    StaffRollTick(*this);
    return;
  }
  if (m.ScreenMode == ScreenMode::Recollection) {
    RecollectionTick(*this);
    return;
  }
  if (m.BacklogOpen || m.InputLock || m.ScreenMode != ScreenMode::Play) return;
  if (m.ChoiceMode != ChoiceMode::None && m.DialogKind == DialogKind::None) {
    ChoiceTick(*this);
    return;
  }
  const bool voice = VoicePlaying(*this);
  if (!voice) w.WaitForVoice = false;
  if (w.WaitTicks > 0) {
    --w.WaitTicks;
    return;
  }
  if (PointerMoved) {
    // The game screen is the only control that reports the pointer; a
    // position outside it means the pointer left for the tool bar or beyond.
    const bool overScreen = PointerX >= 0 && PointerY >= 0 && PointerX < platform::kScreenWidth &&
                            PointerY < platform::kScreenHeight;
    if (overScreen != pointerOverScreen_) {
      ClearQuickButtonHover(*this);
      PointerMoved = false;
      pointerOverScreen_ = overScreen;
    }
  }
  switch (State.Shell.DeferredMusicState) {
    case 1:
      State.Shell.DeferredMusicState = 0;
      StartMusic(*this, State.Shell.DeferredMusic);
      break;
    case 2:
      State.Shell.DeferredMusicState = 1;
      break;
    case 3:
      State.Shell.DeferredMusicState = 2;
      break;
    default:
      break;
  }
  if (w.ClickWait == ClickWait::None || m.InputLock || m.ScreenMode != ScreenMode::Play) return;
  if (State.AutoDelay() == 0) {
    if (w.ClickWait != ClickWait::PageNoCursor) AnimateWaitCursor(*this);
    return;
  }
  // Auto mode: count down, but never release while a voice plays.
  if (w.AutoCountdown == 0) {
    if (voice) w.AutoCountdown = 1;
  } else {
    --w.AutoCountdown;
    if (w.AutoCountdown == 0 && voice) w.AutoCountdown = 1;
  }
  if (w.AutoCountdown == 0) {
    if (EndsPage(w.ClickWait) && m.WindowShown) PageReset(*this);
    w.ClickWait = ClickWait::None;
  }
}

// ============================================================ [SECTION] Close, destroy, paint

bool TForm1::FormCloseQuery() {
  ModeState& m = State.Mode;
  if (m.QuitRequested) return true;
  WriteGlobalSave(*this);
  if (m.EffectRunning) {
    m.EffectAbort = EffectAbort::CloseRequested;
    return false;
  }
  if (m.InputLock) return false;
  if (m.ScreenMode == ScreenMode::StaffRoll) StaffRollStop(*this);
  State.Interp.ScriptRunning = false;
  StaffRollPause(*this, true);
  const platform::MsgResult r =
      Plat.ui->MessageBox("ゲームを終了しますか？", "確認", platform::MsgButtons::OkCancel,
                          platform::MsgIcon::Question);
  const bool ok = r == platform::MsgResult::Ok;
  if (ok) {
    m.EffectAbort = EffectAbort::FinishNow;
    StaffRollStop(*this);
  }
  StaffRollPause(*this, false);
  State.Interp.ScriptRunning = true;
  return ok;
}

void TForm1::Close() {
  if (closed_) return;
  if (FormCloseQuery()) closed_ = true;
}

void TForm1::FormDestroy() {
  StopMusic(*this);
  if (State.Shell.FullScreenActive) LeaveFullScreen();
}

void TForm1::PBPaint() {
  if (State.Mode.ScreenMode == ScreenMode::Map) {
    MapPaint(*this);
  } else {
    PaintScene(*this, State.Mode.ScreenMode == ScreenMode::WindowHidden);
  }
  PresentScreen(*this);
  ApplyVolumes(*this);
}

// ============================================================ [SECTION] Full screen

void TForm1::EnterFullScreen() {
  ShellState& s = State.Shell;
  if (s.FullScreenActive || s.DisplayMode == DisplayMode::Window) return;
  platform::Display& d = *Plat.display;
  d.GetWindowPos(s.SavedLeft, s.SavedTop);
  s.SavedWidth = 808;
  s.SavedHeight = 624;
  if (d.SetFullScreen(static_cast<int>(s.DisplayMode))) {
    d.SetToolbarVisible(false);
    s.ToolbarShown = false;
    // Mode 2 keeps the display mode, so only mode 1 counts as changed.
    s.FullScreenActive = s.DisplayMode == DisplayMode::FullScreen ? 1 : 0;
    s.BorderlessActive = s.DisplayMode == DisplayMode::Borderless;
    return;
  }
  // Not possible here: stay a normal window and go on.
  s.FullScreenActive = 0;
  s.BorderlessActive = false;
  d.SetFullScreen(static_cast<int>(DisplayMode::Window));
  d.SetToolbarVisible(true);
  s.ToolbarShown = true;
  d.SetWindowPos(s.SavedLeft, s.SavedTop);
}

void TForm1::LeaveFullScreen() {
  ShellState& s = State.Shell;
  if (!s.FullScreenActive && !s.BorderlessActive) return;
  platform::Display& d = *Plat.display;
  d.SetFullScreen(static_cast<int>(DisplayMode::Window));
  s.FullScreenActive = 0;
  s.BorderlessActive = false;
  d.SetToolbarVisible(true);
  s.ToolbarShown = true;
  d.SetWindowPos(s.SavedLeft, s.SavedTop);
}

// ============================================================ [SECTION] Application loop

bool TForm1::IdleWanted() const {
  const ModeState& m = State.Mode;
  const WaitState& w = State.Wait;
  if (m.StartPending || m.QuitRequested || m.BgAnimFrames > 0 || w.ClickDebounce > 0) return true;
  if (m.BacklogOpen || m.DialogKind != DialogKind::None) return false;
  switch (m.ScreenMode) {
    case ScreenMode::Play:
      break;
    case ScreenMode::StaffRoll:
    case ScreenMode::CgViewer:
      return true;  // the staff roll and the CG viewer run on idle passes
    default:
      return false;  // the other screens do nothing in an idle pass
  }
  if (m.InputLock) return false;
  if (m.SkipMode != SkipMode::Off && w.ClickWait != ClickWait::None) return true;
  if (m.ChoiceMode != ChoiceMode::None || w.WaitTicks != 0 || w.ClickWait != ClickWait::None ||
      w.WaitForVoice)
    return false;
  if (w.SleepFrames < 0) return false;  // waits for a click
  if (w.SleepFrames > 0) return true;
  return State.Interp.ScriptRunning && !ScriptFinished(*this);
}

bool TForm1::WaitingForPlayer() const {
  const ModeState& m = State.Mode;
  const WaitState& w = State.Wait;
  if (m.StartPending) return false;
  if (!State.Interp.ScriptRunning || ScriptFinished(*this)) return true;
  if (m.InputLock || m.EffectRunning) return false;
  if (w.WaitTicks > 0 || w.WaitForVoice || w.SleepFrames > 0) return false;
  if (m.SkipMode != SkipMode::Off || State.AutoDelay() != 0) return false;
  return w.ClickWait != ClickWait::None || m.ChoiceMode != ChoiceMode::None || w.SleepFrames < 0 ||
         m.ScreenMode != ScreenMode::Play;
}

int TForm1::QuietTicks() {
  const ModeState& m = State.Mode;
  const WaitState& w = State.Wait;
  const ShellState& s = State.Shell;
  // Far enough ahead for any wait, near enough for the clock arithmetic.
  constexpr int kMaxQuietTicks = 1 << 14;
  int quiet = kMaxQuietTicks;
  // The parts every tick runs (steps 1 to 3 of Timer1Timer).
  if (s.MovieTag != 0) return 0;
  if (!SoundTickQuiet(*this) || !EffectTickQuiet(*this)) return 0;
  if (Plat.devPanel && !Dev.Shown()) return 0;  // the next tick shows the panel
  if (Dev.RealTimeWatch) {
    // The watch list refreshes on ticks whose counter is a multiple of 16.
    quiet = std::min(quiet, 15 - static_cast<int>(s.TickCounter & 15));
  }
  if (m.ScreenMode == ScreenMode::StaffRoll || m.ScreenMode == ScreenMode::Recollection) return 0;
  if (m.BacklogOpen || m.InputLock || m.ScreenMode != ScreenMode::Play) return quiet;
  if (m.ChoiceMode != ChoiceMode::None && m.DialogKind == DialogKind::None)
    return ChoiceTickQuiet(*this) ? quiet : 0;
  // A voice can end at any moment, and its end may release a wait.
  if (w.WaitForVoice || VoicePlaying(*this)) return 0;
  // Counting WaitTicks down is quiet until the tick that reaches 0.
  if (w.WaitTicks > 0) return std::min(quiet, w.WaitTicks - 1);
  if (PointerMoved) {
    const bool overScreen = PointerX >= 0 && PointerY >= 0 && PointerX < platform::kScreenWidth &&
                            PointerY < platform::kScreenHeight;
    if (overScreen != pointerOverScreen_) return 0;
  }
  if (s.DeferredMusicState != 0) return 0;
  if (w.ClickWait == ClickWait::None) return quiet;
  if (State.AutoDelay() != 0) return 0;
  if (w.ClickWait == ClickWait::PageNoCursor) return quiet;
  return std::min(quiet, WaitCursorQuietTicks(*this));
}

void TForm1::Run(const LoopLimits& limits) {
  platform::Clock& clock = *Plat.clock;
  const uint32_t deadline =
      limits.RunMs >= 0 ? static_cast<uint32_t>(limits.RunMs) : UINT32_MAX;
  while (!closed_) {
    if (clock.NowMs() >= deadline) break;
    platform::Event e;
    if (clock.PollEvent(e)) {
      HandleEvent(e);
      continue;
    }
    if (clock.TimerDue()) {
      clock.ConsumeTimerTick();
      Timer1Timer();
      continue;
    }
    if (IdleWanted()) {
      AppIdle();
      continue;
    }
    if (limits.UntilIdle && clock.InputExhausted() && WaitingForPlayer()) break;
    if (!clock.TimerEnabled()) {
      clock.WaitUntil(deadline);
      continue;
    }
    // Sleep through the quiet ticks to the first one that may change
    // something; what wakes the loop earlier (input) comes after the ticks
    // that fell due before it, as it would have without the sleep. A tick due
    // this very moment stays for the loop, after the events of this moment.
    const int quiet = QuietTicks();
    clock.WaitUntil(
        std::min(clock.NextTimerDue() + static_cast<uint32_t>(quiet) * platform::kTimerIntervalMs,
                 deadline));
    for (int i = 0; i < quiet && clock.TimerEnabled() && clock.NextTimerDue() < clock.NowMs();
         ++i) {
      clock.ConsumeOneTimerTick();
      Timer1Timer();
    }
  }
  if (closed_) FormDestroy();
}

}  // namespace zk
