// Input routing of the main window: mouse, keys, wheel and the tool bar.
// Every handler first tests the state that owns input (effects, dialogs,
// InputLock, the screen mode) because they also run inside blocking loops.
#include "core/Hooks.h"
#include "core/TForm1.h"

namespace zk {

void TForm1::HandleEvent(const platform::Event& e) {
  using platform::EventType;
  switch (e.type) {
    case EventType::MouseDown:
      PointerX = e.x;
      PointerY = e.y;
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
    case EventType::Answer:
      Plat.ui->QueueAnswer(e.text);
      break;
    case EventType::Screenshot:
    case EventType::Dump:
      if (HarnessEvent) HarnessEvent(e);
      break;
  }
}

void TForm1::PBMouseDown(int, int, bool right) {
  ModeState& m = State.Mode;
  WaitState& w = State.Wait;
  Banks& v = State.Vars;

  if (m.EffectRunning) {
    if (!State.Settings.KeepVoiceOnClick) StopVoice(*this);
    m.EffectAbort = 1;
    return;
  }
  if (m.DialogKind != 0) return;  // [dialog] the in-game dialog takes the click
  if (!right) m.MenuOpen = false;
  if (m.InputLock) return;
  if (!right && w.ClickWait != 4 && w.ClickDebounce < 3 && !State.Settings.KeepVoiceOnClick)
    StopVoice(*this);
  if (m.BacklogOpen) return;  // [backlog] the backlog takes the click

  switch (m.ScreenMode) {
    case 1:
      ShowMessageWindow(*this);
      return;
    case 3:
      StaffRollStop(*this);
      return;
    case 0:
      break;
    default:
      return;  // [screens] map, CG viewer, recollection and rewind view take it
  }

  if (m.WindowShown && m.SkipMode == 0 && State.AutoDelay() != 0 && m.ChoiceMode == 0) {
    if (right) {
      State.SetAutoDelay(0);
      v.S(kSysQuickButton1 + 1) = 0;
    } else if (w.AutoCountdown > 0) {
      w.AutoCountdown = 1;
    } else {
      w.PageFinish = true;
    }
    return;
  }
  if (State.Settings.TextSpeedOn && w.ClickWait == 0 && m.ChoiceMode == 0) w.PageFinish = true;
  if (w.SleepFrames != 0) {
    w.SleepFrames = 0;
    v.S(kSysSleepCut) = 1;
    return;
  }
  if (m.SkipMode != 0 && m.ChoiceMode == 0) {
    m.SkipMode = 0;
    v.S(kSysQuickButton1) = 0;
    v.S(kSysQuickButton1 + 1) = 0;
    return;
  }
  if (!right) {
    if (m.ChoiceMode == 0) {
      if (w.ClickWait == 1 || w.ClickWait == 4 || w.ClickWait == 5) PageReset(*this);
      else if (w.ClickWait == 2) EraseWaitCursor(*this);
      w.ClickWait = 0;
    }
  }
  w.ClickDebounce = 5;
}

void TForm1::PBMouseMove(int x, int y) {
  PointerX = x;
  PointerY = y;
  PointerMoved = true;
  if (State.Mode.InputLock || State.Mode.EffectRunning) return;
  if (State.Shell.FullScreenActive || State.Shell.BorderlessActive) {
    const bool show = y < 30 && x < 400;
    if (show != State.Shell.ToolbarShown) {
      State.Shell.ToolbarShown = show;
      Plat.display->SetToolbarVisible(show);
    }
  }
}

void TForm1::PBMouseUp(int, int, bool) {}

void TForm1::FormKeyDown(int key) {
  ModeState& m = State.Mode;
  if (m.DialogKind != 0 || m.BacklogOpen || m.EffectRunning || m.InputLock) return;
  if (State.Settings.SwapCtrlShift) {
    if (key == platform::kKeyCtrl) key = platform::kKeyShift;
    else if (key == platform::kKeyShift) key = platform::kKeyCtrl;
  }
  if (m.ScreenMode != 0) return;
  if (key == platform::kKeyCtrl) {
    if (m.SkipMode != 0) {
      m.SkipMode = 0;
      State.Vars.S(kSysQuickButton1) = 0;
    } else {
      State.SetAutoDelay(0);
      StopVoice(*this);
      State.Vars.S(kSysQuickButton1) = 2;
      m.SkipMode = 1;
    }
  }
}

void TForm1::FormKeyUp(int key) {
  if (State.Mode.BacklogOpen) return;
  if (State.Settings.SwapCtrlShift) {
    if (key == platform::kKeyCtrl) key = platform::kKeyShift;
    else if (key == platform::kKeyShift) key = platform::kKeyCtrl;
  }
  if (key == platform::kKeyCtrl) {
    if (State.Mode.ScreenMode == 0) State.Vars.S(kSysQuickButton1) = 0;
    State.Mode.SkipMode = 0;
  }
}

void TForm1::FormKeyPress(int ch) {
  if (State.Mode.DialogKind != 0) return;
  if (ch == '\r' || ch == 'z' || ch == 'Z') PBMouseDown(PointerX, PointerY, false);
  else if (ch == 'x' || ch == 'X') PBMouseDown(PointerX, PointerY, true);
  else if (ch == 0x1b) State.Mode.MenuOpen = false;
}

void TForm1::FormMouseWheel(int) {}

void TForm1::ToolbarButtonClick(int button) {
  if (State.Mode.InputLock) return;
  if (button == 1) Close();  // [menu] the quit menu; until it exists, the close query
}

}  // namespace zk
