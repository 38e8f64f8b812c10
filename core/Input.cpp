// Input routing of the main window: mouse, keys, wheel and the tool bar.
// Every handler first tests the state that owns input (effects, dialogs,
// InputLock, the screen mode) because they also run inside blocking loops.
//
// [SECTION] Event routing
// [SECTION] Mouse
// [SECTION] Wheel
// [SECTION] Keys
// [SECTION] Tool bar
#include "core/Input.h"

#include "audio/Audio.h"
#include "core/DevPanel.h"
#include "core/QuickButtons.h"
#include "core/TForm1.h"
#include "effects/Effects.h"
#include "script/Choices.h"
#include "script/Script.h"
#include "services/Services.h"
#include "text/Backlog.h"
#include "text/Text.h"

namespace zk {

// ============================================================ [SECTION] Event routing

void TForm1::HandleEvent(const platform::Event& e) {
  using platform::EventType;
  switch (e.type) {
    case EventType::MouseDown:
      PBMouseDown(e.x, e.y, e.right);
      break;
    case EventType::MouseUp:
      PBMouseUp(e.x, e.y, e.right);
      break;
    case EventType::MouseMove:
      PBMouseMove(e.x, e.y);
      break;
    case EventType::Wheel:
      FormMouseWheel(e.delta);
      break;
    case EventType::KeyDown:
      FormKeyDown(e.key);
      break;
    case EventType::KeyUp:
      FormKeyUp(e.key);
      break;
    case EventType::KeyPress:
      FormKeyPress(e.ch);
      break;
    case EventType::CloseRequest:
      Close();
      break;
    case EventType::ToolbarButton:
      ToolbarButtonClick(e.button);
      break;
    case EventType::Expose:
      PBPaint();
      break;
    case EventType::DevPanel:
      Dev.HandleAction(*this, e);
      break;
    case EventType::FullScreen:
      if (State.Shell.FullScreenActive || State.Shell.BorderlessActive) {
        LeaveFullScreen();
      } else if (e.button == 1) {
        // A player who chose a window still gets full screen for this run;
        // the chosen mode stays as it was.
        const DisplayMode chosen = State.Shell.DisplayMode;
        if (chosen == DisplayMode::Window) State.Shell.DisplayMode = DisplayMode::FullScreen;
        EnterFullScreen();
        State.Shell.DisplayMode = chosen;
      }
      break;
    case EventType::Answer:
      Plat.ui->QueueAnswer(e.text);
      break;
    case EventType::Screenshot:
    case EventType::Dump:
      if (HarnessEvent) HarnessEvent(e);
      break;
  }
}

// ============================================================ [SECTION] Mouse

namespace {

// Releases the pending click wait: a page wait starts a new page, a line wait
// takes the wait mark away.
void ReleaseClickWait(TForm1& f) {
  WaitState& w = f.State.Wait;
  if (EndsPage(w.ClickWait)) {
    PageReset(f);
  } else if (w.ClickWait == ClickWait::Line) {
    EraseWaitCursor(f);
  }
  w.ClickWait = ClickWait::None;
}

// A click in script play (ScreenMode 0).
void ScriptPlayClick(TForm1& f, int x, int y, bool right) {
  ModeState& m = f.State.Mode;
  WaitState& w = f.State.Wait;
  Banks& v = f.State.Vars;

  if (m.WindowShown && m.SkipMode == SkipMode::Off && f.State.AutoDelay() != 0 &&
      m.ChoiceMode == ChoiceMode::None) {
    // Auto mode: a right click stops it, a left click hurries it.
    if (right) {
      f.State.SetAutoDelay(0);
      QuickButtonState(f, kQuickAuto) = 0;
      RedrawQuickButtons(f);
    } else if (f.QuickButtons.HoverButton != 0) {
      QuickButtonAction(f);
    } else if (w.AutoCountdown > 0) {
      w.AutoCountdown = 1;
    } else {
      w.PageFinish = true;
    }
    return;
  }
  if (f.State.Settings.TextSpeedOn && w.ClickWait == ClickWait::None &&
      m.ChoiceMode == ChoiceMode::None)
    w.PageFinish = true;
  if (w.SleepFrames != 0) {
    w.SleepFrames = 0;
    v.S(kSysSleepCut) = 1;
    return;
  }
  if (m.SkipMode != SkipMode::Off && m.ChoiceMode == ChoiceMode::None) {
    StopSkip(f);
    return;
  }
  if (!right && m.ChoiceMode == ChoiceMode::None) {
    QuickButtonHover(f, x, y, 0);
    if (f.QuickButtons.HoverButton != 0) {
      QuickButtonAction(f);
      return;
    }
  }
  if (!right) {
    if (m.ChoiceMode == ChoiceMode::None) {
      ReleaseClickWait(f);
    } else if (w.ClickDebounce == 0) {
      ChoiceConfirm(f, false);
      if (f.QuickButtons.HoverButton != 0) QuickButtonAction(f);
    }
  } else if (m.ChoiceMode == ChoiceMode::ClickMap || m.ChoiceMode == ChoiceMode::ChoiceTree) {
    ChoiceConfirm(f, true);
  } else if (m.ScreenMode == ScreenMode::Play) {
    RightClickFunction(f);
  }
  w.ClickDebounce = 5;
}

}  // namespace

void TForm1::PBMouseDown(int x, int y, bool right) {
  ModeState& m = State.Mode;
  WaitState& w = State.Wait;
  Banks& v = State.Vars;
  const bool keepVoice = State.Settings.KeepVoiceOnClick;

  // Menus open at the pointer; a window system keeps the client-to-screen
  // offset for that, here positions stay in game-screen pixels.
  PointerX = x;
  PointerY = y;

  switch (v.S(kSysClickAction)) {
    case 56:  // back to the title at once, without a question
      if (right) break;
      w.SleepFrames = 0;
      StopVoice(*this);
      if (m.EffectRunning) m.EffectAbort = EffectAbort::FinishNow;
      v.S(kSysClickAction) = 0;
      ReturnToTitle(*this);
      return;
    case 57:  // jump to the label in $8
      v.S(kSysClickAction) = 0;
      GoToLabel(*this, v.GetString(8));
      return;
    case 66:  // clicks are ignored
      return;
    default:
      break;
  }
  if (SimpleSettingsOpen(*this)) {
    SimpleSettingsMouseDown(*this, x, y, right);
    return;
  }
  if (m.EffectRunning) {
    if (!keepVoice) StopVoice(*this);
    m.EffectAbort = EffectAbort::FinishNow;
    return;
  }
  if (m.DialogKind != DialogKind::None) {
    DialogMouseDown(*this, x, y, right);
    return;
  }
  if (PanicPictureShown(*this)) {
    LeavePanicPicture(*this);
    return;
  }
  if (!right) m.MenuOpen = false;
  if (m.InputLock) return;
  // A click on a "~" page wait lets the voice play on.
  if (!right && w.ClickWait != ClickWait::PageKeepVoice && w.ClickDebounce < 3 && !keepVoice)
    StopVoice(*this);
  if (m.BacklogOpen) {
    if (right) {
      CloseBacklog(*this);
    } else {
      BacklogMouseDown(*this, x, y);
    }
    return;
  }
  switch (m.ScreenMode) {
    case ScreenMode::Play:
      ScriptPlayClick(*this, x, y, right);
      break;
    case ScreenMode::WindowHidden:
      ShowMessageWindow(*this);
      break;
    case ScreenMode::StaffRoll:
      StaffRollStop(*this);
      break;
    case ScreenMode::Map:
      MapMouseDown(*this, x, y, right);
      break;
    case ScreenMode::CgViewer:
      CgViewerMouseDown(*this, x, y, right);
      break;
    case ScreenMode::Recollection:
      RecollectionMouseDown(*this, x, y, right);
      break;
    case ScreenMode::RewindView:
      if (right) {
        CloseRewindView(*this);
      } else {
        QuickButtonAction(*this);  // steps the view back
      }
      break;
    default:  // the scrolling picture ignores clicks
      break;
  }
}

void TForm1::PBMouseMove(int x, int y) {
  ModeState& m = State.Mode;
  PointerX = x;
  PointerY = y;
  PointerMoved = true;
  if (m.InputLock || m.EffectRunning) return;
  if (SimpleSettingsOpen(*this)) {
    SimpleSettingsMouseMove(*this, x, y);
    return;
  }
  if (State.Shell.FullScreenActive || State.Shell.BorderlessActive) {
    // The tool bar lies hidden over the picture and shows near its corner.
    const bool show = y < 30 && x < 400;
    if (show != State.Shell.ToolbarShown) {
      State.Shell.ToolbarShown = show;
      Plat.display->SetToolbarVisible(show);
    }
  }
  if (m.DialogKind != DialogKind::None) {
    DialogMouseMove(*this, x, y);
    return;
  }
  if (m.BacklogOpen) {
    BacklogMouseMove(*this, x, y);
    return;
  }
  switch (m.ScreenMode) {
    case ScreenMode::Play:
      switch (m.ChoiceMode) {
        case ChoiceMode::None:
          if (m.SkipMode == SkipMode::Off) QuickButtonHover(*this, x, y, 0);
          break;
        case ChoiceMode::TextList:
        case ChoiceMode::PictureButtons:
          QuickButtonHover(*this, x, y, 0);
          ChoiceHover(*this, x, y);
          break;
        default:  // click map and choice tree
          ChoiceHover(*this, x, y);
          break;
      }
      break;
    case ScreenMode::Map:
      MapMouseMove(*this, x, y);
      break;
    case ScreenMode::CgViewer:
      CgViewerMouseMove(*this, x, y);
      break;
    case ScreenMode::Recollection:
      RecollectionMouseMove(*this, x, y);
      break;
    case ScreenMode::RewindView:
      QuickButtonHover(*this, x, y, 0);
      break;
    default:
      break;
  }
}

void TForm1::PBMouseUp(int x, int y, bool) {
  if (SimpleSettingsOpen(*this)) {
    SimpleSettingsMouseUp(*this, x, y);
    return;
  }
  if (State.Mode.BacklogOpen) {
    BacklogMouseUp(*this);
    return;
  }
  if (State.Mode.ScreenMode == ScreenMode::Recollection) {
    RecollectionMouseUp(*this, x, y);
    return;
  }
  if (State.Mode.ScreenMode != ScreenMode::Play) return;
  // Quick save, quick load and backlog show pressed while the button is down.
  bool changed = false;
  for (int slot : {kQuickSave, kQuickLoad, kQuickBacklog}) {
    int32_t& state = QuickButtonState(*this, slot);
    if (state == 2) {
      state = 0;
      changed = true;
    }
  }
  if (changed) RedrawQuickButtons(*this);
}

// ============================================================ [SECTION] Wheel

void TForm1::FormMouseWheel(int delta) {
  ModeState& m = State.Mode;
  if (Input.WheelBusy) return;
  Input.WheelBusy = true;
  if (m.BacklogOpen) {
    BacklogWheel(*this, delta);
  } else if (m.DialogKind == DialogKind::None && !m.InputLock && m.BgAnimFrames == 0) {
    if (m.ScreenMode == ScreenMode::RewindView) {
      StepRewindView(*this, delta < 0 ? -1 : +1);
    } else if (m.ScreenMode == ScreenMode::Play && m.ChoiceMode == ChoiceMode::None && delta > 0) {
      if (State.Settings.WheelAction == WheelAction::Backlog) {
        int32_t& backlogButton = QuickButtonState(*this, kQuickBacklog);
        backlogButton = 2;
        RedrawQuickButtons(*this);
        OpenBacklog(*this);
        backlogButton = 1;
      } else {
        OpenRewindView(*this);
      }
    }
  }
  Input.WheelBusy = false;
}

// ============================================================ [SECTION] Keys

namespace {

int SwapCtrlShift(const TForm1& f, int key) {
  if (!f.State.Settings.SwapCtrlShift) return key;
  if (key == platform::kKeyCtrl) return platform::kKeyShift;
  if (key == platform::kKeyShift) return platform::kKeyCtrl;
  return key;
}

// The text choice list: the pointer moves to the option above or below the
// one under it and rests on its button.
void MoveChoicePointer(TForm1& f, bool down) {
  const ModeState& m = f.State.Mode;
  const int count = m.ChoiceCount;
  if (count <= 0) return;
  int current = 0;  // option under the pointer, 0 none
  if (f.PointerX > 195 && f.PointerX < 604 && f.PointerY > m.ChoiceListTop &&
      f.PointerY < m.ChoiceListTop + 50 * count)
    current = (f.PointerY - m.ChoiceListTop) / 50 + 1;
  int target;
  if (down) {
    target = current == 0 || current >= count ? count : current + 1;
  } else {
    target = current <= 1 ? 1 : current - 1;
  }
  const int x = m.ChoiceListLeft + m.ChoiceButtonWidth - 7;
  const int y = m.ChoiceListTop + 31 + 50 * (target - 1);
  f.Plat.display->WarpPointer(x, y);
  // Moving the pointer is a pointer movement like any other.
  f.PBMouseMove(x, y);
}

// The Space key: auto mode on or off, remembering the delay in S027.
void ToggleAutoBySpace(TForm1& f) {
  Banks& v = f.State.Vars;
  int32_t& autoButton = QuickButtonState(f, kQuickAuto);
  if (f.State.AutoDelay() != 0) {
    v.S(kSysLastAutoDelay) = f.State.AutoDelay();
    f.State.SetAutoDelay(0);
    autoButton = 0;
  } else {
    autoButton = 2;
    const int32_t last = v.S(kSysLastAutoDelay);
    if (last < 1 || last > 10) v.S(kSysLastAutoDelay) = 5;
    f.State.SetAutoDelay(v.S(kSysLastAutoDelay));
  }
}

}  // namespace

void TForm1::FormKeyDown(int key) {
  ModeState& m = State.Mode;
  // A held key repeats its key-down; Ctrl and Shift act once per press.
  if (key == platform::kKeyCtrl || key == platform::kKeyShift) {
    bool& down = key == platform::kKeyCtrl ? Input.CtrlDown : Input.ShiftDown;
    if (down) return;
    down = true;
  }
  if (m.DialogKind != DialogKind::None || m.BacklogOpen || m.EffectRunning || m.InputLock) return;

  if (m.ScreenMode == ScreenMode::Play && m.ChoiceMode == ChoiceMode::TextList &&
      (key == platform::kKeyUp || key == platform::kKeyDown)) {
    MoveChoicePointer(*this, key == platform::kKeyDown);
    return;
  }
  if (m.ScreenMode == ScreenMode::RewindView) {
    if (m.ChoiceMode == ChoiceMode::None && m.BgAnimFrames == 0) {
      if (key == platform::kKeyLeft) StepRewindView(*this, +1);
      if (key == platform::kKeyRight) StepRewindView(*this, -1);
    }
    return;
  }
  key = SwapCtrlShift(*this, key);
  if (m.ScreenMode != ScreenMode::Play) return;
  Banks& v = State.Vars;
  if (key == platform::kKeyTab) {
    RightClickFunction(*this);
  } else if (key == platform::kKeyShift) {
    m.SkipMode = SkipMode::Off;
    v.S(kSysQuickButton1) = 0;
    if (State.AutoDelay() != 0) {
      State.SetAutoDelay(0);
    } else {
      if (v.S(kSysLastAutoDelay) == 0) v.S(kSysLastAutoDelay) = 5;
      State.SetAutoDelay(v.S(kSysLastAutoDelay));
    }
    RedrawQuickButtons(*this);
  } else if (key == platform::kKeyCtrl) {
    if (m.SkipMode != SkipMode::Off) {
      StopSkip(*this);
    } else {
      State.SetAutoDelay(0);
      QuickButtonState(*this, kQuickAuto) = 0;
      StopVoice(*this);
      v.S(kSysQuickButton1) = 2;
      RedrawQuickButtons(*this);
      m.SkipMode = SkipMode::On;
    }
  } else if (key == platform::kKeyLeft) {
    if (m.ChoiceMode == ChoiceMode::None && m.BgAnimFrames == 0) OpenRewindView(*this);
  } else if (key >= platform::kKeyF1 && key <= platform::kKeyF12) {
    FunctionKey(*this, key - platform::kKeyF1 + 1);
  }
}

void TForm1::FormKeyUp(int key) {
  if (key == platform::kKeyCtrl) Input.CtrlDown = false;
  if (key == platform::kKeyShift) Input.ShiftDown = false;
  if (State.Mode.BacklogOpen) return;
  key = SwapCtrlShift(*this, key);
  if (key != platform::kKeyCtrl) return;
  // Skipping by Ctrl lasts while the key is held. Skip mode ends before the
  // redraw, which would otherwise light the skip button again.
  State.Mode.SkipMode = SkipMode::Off;
  if (State.Mode.ScreenMode == ScreenMode::Play) {
    State.Vars.S(kSysQuickButton1) = 0;
    if (!State.Mode.InputLock) RedrawQuickButtons(*this);
  }
}

void TForm1::FormKeyPress(int ch) {
  ModeState& m = State.Mode;
  Banks& v = State.Vars;
  if (m.DialogKind != DialogKind::None) return;
  if (ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
  if (m.BacklogOpen) {
    if (ch == '\b') CloseBacklog(*this);
    return;
  }
  switch (ch) {
    case '\r':
    case 'Z':
      PBMouseDown(PointerX, PointerY, false);
      return;
    case 'X':
      PBMouseDown(PointerX, PointerY, true);
      return;
    case 'V':
      ReplayLastVoice(*this);
      return;
    default:
      break;
  }
  if (m.EffectRunning || m.InputLock) return;
  // The save and load keys: play only, no background animation, and the
  // permission of S000 (saving also needs the player functions of S028).
  const bool playing = m.ScreenMode == ScreenMode::Play && m.BgAnimFrames == 0;
  const bool mayLoad = playing && LoadingAllowed(*this);
  const bool maySave = playing && SavingAllowed(*this);
  switch (ch) {
    case '\b':
      if (playing) {
        int32_t& backlogButton = QuickButtonState(*this, kQuickBacklog);
        backlogButton = 2;
        RedrawQuickButtons(*this);
        OpenBacklog(*this);
        backlogButton = 1;
      }
      break;
    case 0x1b:
      m.MenuOpen = false;
      break;
    case ' ':
      ToggleAutoBySpace(*this);
      v.S(kSysQuickButton1) = 0;
      RedrawQuickButtons(*this);
      break;
    case 'C':
      if (Menus.SpeedButton2) SpeedButton2Click(*this);
      break;
    case 'L':
      if (mayLoad) {
        PlaySound(*this, "SSE06", 1);
        OpenLoadScreen(*this);
      }
      break;
    case 'Q':
      if (maySave) QuickSave(*this);
      break;
    case 'S':
      if (maySave) {
        PlaySound(*this, "SSE05", 1);
        OpenSaveScreen(*this);
      }
      break;
    case 'W':
      if (m.ScreenMode == ScreenMode::Play) {
        HideMessageWindow(*this);
      } else if (m.ScreenMode == ScreenMode::WindowHidden) {
        ShowMessageWindow(*this);
      }
      break;
    case 'D':
      // The menu stands in for a panel the platform does not draw.
      if (DevPanel::DeveloperBuild() && !Plat.devPanel) Dev.Open(*this);
      break;
    default:
      break;
  }
}

// ============================================================ [SECTION] Tool bar

void TForm1::ToolbarButtonClick(int button) {
  if (State.Mode.InputLock || !Menus.Panel1) return;
  switch (button) {
    case 1:
      if (Menus.SpeedButton1) SpeedButton1Click(*this);
      break;
    case 2:
      if (Menus.SpeedButton2) SpeedButton2Click(*this);
      break;
    case 3:
      if (Menus.SpeedButton3) SpeedButton3Click(*this);
      break;
    case 4:
      if (Menus.SpeedButton4) SpeedButton4Click(*this);
      break;
    default:
      break;
  }
}

}  // namespace zk
