// The quick-button panel: layout, drawing, hover with its filters, the twelve
// actions and the function keys.
//
// [SECTION] Layout
// [SECTION] Drawing
// [SECTION] Hover
// [SECTION] Actions
// [SECTION] Stopping skip mode
#include "core/QuickButtons.h"

#include <algorithm>
#include <utility>

#include "audio/Audio.h"
#include "core/TForm1.h"
#include "graphics/Graphics.h"
#include "graphics/Screen.h"
#include "graphics/Surfaces.h"
#include "services/Services.h"
#include "text/Backlog.h"
#include "text/Text.h"

namespace zk {

// ============================================================ [SECTION] Layout

const QuickButtonSlot kQuickButtonLayout[kQuickButtonCount] = {
    {39, 96, 38, 238},               // 1 skip on/off
    {kQuickSlotAbsent, 0, 64, 398},  // 2 auto on/off
    {kQuickSlotAbsent, 0, 64, 590},  // 3 hide window
    {13, 32, 64, 72},                // 4 quick save
    {13, 64, 64, 136},               // 5 quick load
    {0, 96, 38, 200},                // 6 backlog
    {kQuickSlotAbsent, 0, 64, 654},  // 7 replay voice
    {5, 0, 72, 0},                   // 8 settings
    {kQuickSlotAbsent, 0, 64, 462},  // 9 auto delay + 1
    {kQuickSlotAbsent, 0, 64, 334},  // 10 auto delay - 1
    {kQuickSlotAbsent, 0, 64, 142},  // 11 save screen
    {kQuickSlotAbsent, 0, 64, 78},   // 12 load screen
};

const int kFunctionKeyActions[12] = {
    kQuickSettings, kQuickLoadScreen, kQuickSaveScreen, kQuickBacklog,
    kQuickSkip,     kQuickAutoFaster, kQuickAuto,       kQuickAutoSlower,
    kQuickLoad,     kQuickHideWindow, kQuickVoice,      kQuickSave,
};

int32_t& QuickButtonState(TForm1& f, int slot) {
  return f.State.Vars.S(kSysQuickButton1 + slot - 1);
}

namespace {

int32_t& SlotState(TForm1& f, int slot) {
  return QuickButtonState(f, slot);
}

bool PanelScreen(const ModeState& m) {
  return (m.ScreenMode == ScreenMode::Play || m.ScreenMode == ScreenMode::RewindView) &&
         m.BgAnimFrames == 0;
}

}  // namespace

void SetQuickButtonPictures(TForm1& f, Bitmap sheet, const Bitmap& windowFrame, int windowX,
                            int windowY, int colourRows) {
  QuickButtonPanel& p = f.QuickButtons;
  p.Sheet = std::move(sheet);
  p.WindowX = windowX;
  p.WindowY = windowY;
  p.Background.Resize(kQuickPanelWidth, kQuickPanelHeight);
  p.Panel.Resize(kQuickPanelWidth, kQuickPanelHeight);
  p.Background.Fill(0, 0, 0);
  const int sx = kQuickPanelX - windowX;
  const int sy = kQuickPanelY - windowY;
  int rows = kQuickPanelHeight;
  if (colourRows >= 0) rows = std::max(0, std::min(rows, colourRows - sy));
  CopyArea(windowFrame, sx, sy, kQuickPanelWidth, rows, p.Background, 0, 0);
}

void LoadQuickButtonPictures(TForm1& f, const Bitmap& windowFrame) {
  Bitmap sheet;
  LoadScenePicture(f, "sys_qbtn", sheet);
  const GameDefinition& d = f.Game.Def;
  SetQuickButtonPictures(f, std::move(sheet), windowFrame, d.TXW_OFS_X, d.TXW_OFS_Y, d.TXW_SIZE_Y);
}

// ============================================================ [SECTION] Drawing

void DrawQuickButtons(TForm1& f, int kind) {
  ModeState& m = f.State.Mode;
  if (m.EffectRunning || !PanelScreen(m)) return;
  QuickButtonPanel& p = f.QuickButtons;
  if (m.SkipMode != SkipMode::Off && SlotState(f, 1) == 0) {
    SlotState(f, 1) = 2;  // skip shows active
  }
  if (p.Background.Empty()) return;  // no pictures (a game without the panel)

  p.Panel = p.Background;
  for (int k = 1; k <= kQuickButtonCount; ++k) {
    const QuickButtonSlot& s = kQuickButtonLayout[k - 1];
    const int32_t state = SlotState(f, k);
    if (s.X == kQuickSlotAbsent || state == 0 || (state & 8)) continue;
    CopyArea(p.Sheet, s.SourceX, state == 1 ? 24 : 48, s.Width, kQuickButtonHeight, p.Panel, s.X,
             s.Y);
  }

  const bool onScreen = m.WindowShown || (kind == 0 && f.State.Vars.S(kSysFullScreenText) != 0);
  if (kind != 2 && onScreen) {
    if (Bitmap* scene = SceneSurface(f))
      CopyArea(p.Panel, 0, 0, kQuickPanelWidth, kQuickPanelHeight, *scene, kQuickPanelX,
               kQuickPanelY);
    CopyAreaToScreen(f, p.Panel, 0, 0, kQuickPanelWidth, kQuickPanelHeight, kQuickPanelX,
                     kQuickPanelY);
    PresentScreen(f);
  }
  if (kind != 0) {
    const int x = kQuickPanelX - p.WindowX;
    const int y = kQuickPanelY - p.WindowY;
    if (Bitmap* window = MessageWindowPicture(f))
      CopyArea(p.Panel, 0, 0, kQuickPanelWidth, kQuickPanelHeight, *window, x, y);
    if (Bitmap* cache = ComposedWindowCache(f))
      CopyArea(p.Panel, 0, 0, kQuickPanelWidth, kQuickPanelHeight, *cache, x, y);
  }
}

void RedrawQuickButtons(TForm1& f) {
  DrawQuickButtons(f, 1);
}

// ============================================================ [SECTION] Hover

namespace {

// The slot filters: which hovered slots the current state refuses.
bool SlotAllowed(const TForm1& f, int slot) {
  const ModeState& m = f.State.Mode;
  if (m.ScreenMode == ScreenMode::RewindView && slot != kQuickSkip && slot != kQuickVoice)
    return false;
  if ((slot == kQuickAutoSlower || slot == kQuickAutoFaster) && f.State.AutoDelay() == 0)
    return false;
  if (slot == kQuickSkip && f.State.Settings.SkipReadOnly && !f.State.Wait.CurrentTextRead)
    return false;
  if (slot == kQuickBacklog && m.ChoiceMode != ChoiceMode::None) return false;
  if ((slot == kQuickSave || slot == kQuickLoad || slot == kQuickSaveScreen ||
       slot == kQuickLoadScreen) &&
      (m.ReplayKind != ReplayKind::None || m.BgAnimFrames > 0 || m.ScreenMode != ScreenMode::Play))
    return false;
  return true;
}

int SlotAt(int x, int y) {
  const int px = x - kQuickPanelX;
  const int py = y - kQuickPanelY;
  for (int k = 1; k <= kQuickButtonCount; ++k) {
    const QuickButtonSlot& s = kQuickButtonLayout[k - 1];
    if (s.X == kQuickSlotAbsent) continue;
    if (px >= s.X && px < s.X + s.Width && py >= s.Y && py < s.Y + kQuickButtonHeight) return k;
  }
  return 0;
}

}  // namespace

int QuickButtonHover(TForm1& f, int x, int y, int flag) {
  QuickButtonPanel& p = f.QuickButtons;
  const ModeState& m = f.State.Mode;
  if (m.ScreenMode != ScreenMode::Play && m.ScreenMode != ScreenMode::RewindView)
    return p.HoverButton;
  for (int k = 1; k <= kQuickButtonCount; ++k) SlotState(f, k) = 0;
  int result = SlotAt(x, y);
  if (result != 0 && !SlotAllowed(f, result)) result = 0;
  if (flag < 3) {
    // The hovered slot keeps its mark while the pointer moves inside it.
    if (result != 0) SlotState(f, result) = 1;
    if (result != p.HoverButton) DrawQuickButtons(f, 1);
  }
  p.HoverButton = result;
  return result;
}

void ClearQuickButtonHover(TForm1& f) {
  QuickButtonPanel& p = f.QuickButtons;
  if (p.HoverButton == 0) return;
  if (SlotState(f, p.HoverButton) == 1) SlotState(f, p.HoverButton) = 0;
  p.HoverButton = 0;
  DrawQuickButtons(f, 1);
}

// ============================================================ [SECTION] Actions

void PressFlash(TForm1& f, int slot) {
  if (slot < 1 || slot > kQuickButtonCount) return;
  SlotState(f, slot) = 2;
  DrawQuickButtons(f, 1);
  // A plain sleep: the flash must not let another click in.
  f.Plat.clock->SleepMs(50);
  SlotState(f, slot) = 0;
  DrawQuickButtons(f, 1);
}

bool QuickButtonAction(TForm1& f) {
  ModeState& m = f.State.Mode;
  Banks& v = f.State.Vars;
  QuickButtonPanel& p = f.QuickButtons;
  if (m.ScreenMode == ScreenMode::RewindView) {
    StepRewindView(f, +1);
    DrawQuickButtons(f, 1);
    return true;
  }
  switch (p.HoverButton) {
    case kQuickNone:
      return false;
    case kQuickSkip:
      SlotState(f, 2) = 0;
      if (m.SkipMode != SkipMode::Off) {
        SlotState(f, 1) = 0;
        m.SkipMode = SkipMode::Off;
      } else {
        SlotState(f, 1) = 2;
        m.SkipMode = SkipMode::On;
      }
      DrawQuickButtons(f, 1);
      p.HoverButton = 0;
      break;
    case kQuickAuto:
      if (f.State.AutoDelay() != 0) {
        SlotState(f, 2) = 0;
        v.S(kSysLastAutoDelay) = f.State.AutoDelay();
        f.State.SetAutoDelay(0);
      } else {
        SlotState(f, 2) = 2;
        const int32_t last = v.S(kSysLastAutoDelay);
        if (last < 1 || last > 10) v.S(kSysLastAutoDelay) = 6;
        f.State.SetAutoDelay(v.S(kSysLastAutoDelay));
      }
      DrawQuickButtons(f, 1);
      p.HoverButton = 0;
      break;
    case kQuickHideWindow:
      f.State.SetAutoDelay(0);
      SlotState(f, 2) = 0;
      PressFlash(f, kQuickHideWindow);
      HideMessageWindow(f);
      break;
    case kQuickSave:
      PressFlash(f, kQuickSave);
      QuickSave(f);
      break;
    case kQuickLoad:
      PressFlash(f, kQuickLoad);
      AskYesNo(f, "クイックロードしますか？", DialogKind::QuickLoad);
      DrawQuickButtons(f, 1);
      break;
    case kQuickBacklog:
      f.State.SetAutoDelay(0);
      SlotState(f, 2) = 0;
      SlotState(f, kQuickBacklog) = 2;
      DrawQuickButtons(f, 1);
      OpenBacklog(f);
      SlotState(f, kQuickBacklog) = 0;
      break;
    case kQuickVoice:
      DrawQuickButtons(f, 1);
      ReplayLastVoice(f);
      break;
    case kQuickSettings:
      OpenSettings(f);
      break;
    case kQuickAutoSlower: {
      const int32_t d = f.State.AutoDelay();
      if (d >= 1 && d <= 9) f.State.SetAutoDelay(d + 1);
      DrawQuickButtons(f, 1);
      break;
    }
    case kQuickAutoFaster: {
      const int32_t d = f.State.AutoDelay();
      if (d > 1) f.State.SetAutoDelay(d - 1);
      DrawQuickButtons(f, 1);
      break;
    }
    case kQuickSaveScreen:
    case kQuickLoadScreen: {
      const bool save = p.HoverButton == kQuickSaveScreen;
      DrawQuickButtons(f, 1);
      if (m.EffectRunning) return false;
      PlaySound(f, save ? "SSE05" : "SSE06", 1);
      save ? OpenSaveScreen(f) : OpenLoadScreen(f);
      break;
    }
    default:
      return false;
  }
  return true;
}

bool SavingAllowed(const TForm1& f) {
  const Banks& v = f.State.Vars;
  return v.S(kSysSavePermission) <= 0 && v.S(kSysPlayerFunctions) != 0;
}

bool LoadingAllowed(const TForm1& f) {
  return f.State.Vars.S(kSysSavePermission) <= 1;
}

bool FunctionKeyAllowed(const TForm1& f, int action) {
  switch (action) {
    case kQuickSave:
    case kQuickSaveScreen:
      if (!SavingAllowed(f)) return false;
      break;
    case kQuickLoad:
    case kQuickLoadScreen:
      if (!LoadingAllowed(f)) return false;
      break;
    case kQuickAutoSlower:
    case kQuickAutoFaster:
      if (f.State.AutoDelay() < 1 || f.State.AutoDelay() > 10) return false;
      break;
    default:
      break;
  }
  // The same refusals as for the pointer over the button.
  return SlotAllowed(f, action);
}

void FunctionKey(TForm1& f, int n) {
  if (n < 1 || n > 12) return;
  const int action = kFunctionKeyActions[n - 1];
  // The key borrows HoverButton; the pointer's own hover comes back after, so
  // a later click does not repeat the key's action.
  const int pointerHover = f.QuickButtons.HoverButton;
  f.QuickButtons.HoverButton = FunctionKeyAllowed(f, action) ? action : 0;
  QuickButtonAction(f);
  f.QuickButtons.HoverButton = pointerHover;
}

// ============================================================ [SECTION] Stopping skip mode

void StopSkip(TForm1& f) {
  SlotState(f, 1) = 0;
  SlotState(f, 2) = 0;
  f.State.Mode.SkipMode = SkipMode::Off;
  DrawQuickButtons(f, 1);
}

}  // namespace zk
