// The tool bar, the two popup menus, their enabled states and the right-click
// function.
//
// [SECTION] Menu refresh
// [SECTION] Popup menus
// [SECTION] Menu items
// [SECTION] Tool bar
// [SECTION] Right-click function
// [SECTION] Quit question after a transition
#include <algorithm>
#include <vector>

#include "audio/Audio.h"
#include "core/Input.h"
#include "core/QuickButtons.h"
#include "core/TForm1.h"
#include "graphics/Screen.h"
#include "services/Services.h"
#include "text/Backlog.h"
#include "text/Text.h"

namespace zk {

// ============================================================ [SECTION] Menu refresh

void RefreshMenuStates(TForm1& f) {
  MenuState& s = f.Menus;
  const EngineState& st = f.State;
  auto apply = [&] {
    f.Plat.display->SetToolbarEnabled(s.Panel1, s.SpeedButton1, s.SpeedButton2, s.SpeedButton3,
                                      s.SpeedButton4);
  };
  if (st.Mode.MenuLock) {
    s.Panel1 = false;
    s.SpeedButton1 = s.SpeedButton2 = s.SpeedButton3 = s.SpeedButton4 = false;
    s.N5 = s.N8 = s.N9 = s.N10 = s.N13 = false;
    apply();
    return;
  }
  s.Panel1 = s.SpeedButton1 = s.SpeedButton2 = s.N13 = s.N4 = true;
  // S000: 0 saving and loading, 1 loading only, 2 or 3 neither.
  const int32_t permission = st.Vars.S(kSysSavePermission);
  bool save = permission <= 0;
  const bool load = permission <= 1;
  if (st.Vars.S(kSysPlayerFunctions) == 0) save = false;
  s.SpeedButton3 = s.N8 = s.N10 = save;
  s.SpeedButton4 = s.N5 = s.N9 = load;
  if (st.Mode.BgAnimFrames > 0) {
    s.SpeedButton2 = s.SpeedButton3 = s.SpeedButton4 = false;
    s.N4 = s.N5 = s.N8 = s.N9 = s.N10 = s.N13 = false;
  }
  apply();
}

// ============================================================ [SECTION] Popup menus

namespace {

// One item of a popup menu. The enabled flags are kept by the menu refresh
// (RefreshMenuStates); the visible flags by the replays.
struct MenuEntry {
  const char* Caption;
  void (*Click)(TForm1&);
  bool MenuState::*Enabled;  // nullptr: always enabled
  bool MenuState::*Visible;  // nullptr: always shown
};

// PopupMenu3, the game menu of the right-click function.
const MenuEntry kGameMenu[] = {
    {"自動送り", SM01Click, &MenuState::SM01, nullptr},
    {"スキップ", SM02Click, &MenuState::SM02, nullptr},
    {"ログ", N4Click, &MenuState::N4, nullptr},
    {"ウィンドウ消去", SM04Click, &MenuState::SM04, nullptr},
    {"直前の音声を再生", SM05Click, &MenuState::SM05, nullptr},
    {"クイックロード", N5Click, &MenuState::N5, nullptr},
    {"クイックセーブ", N8Click, &MenuState::N8, nullptr},
    {"ロード", N9Click, &MenuState::N9, nullptr},
    {"セーブ", N10Click, &MenuState::N10, nullptr},
    {"設定", N13Click, &MenuState::N13, nullptr},
    {"タイトルへ戻る", N17Click, nullptr, nullptr},
    {"終了", N18Click, nullptr, nullptr},
};

// PopupMenu1, the quit menu of the tool bar.
const MenuEntry kQuitMenu[] = {
    {"タイトルへ戻る", N6Click, nullptr, nullptr},
    {"ゲーム終了", N7Click, nullptr, nullptr},
    {"シーンスキップ", N1Click, nullptr, &MenuState::N1Visible},
    {"回想モード終了", N2Click, nullptr, &MenuState::N2Visible},
};

// Shows a menu built from its table; the chosen entry when it could be
// chosen (enabled and shown), else nullptr.
template <size_t N>
const MenuEntry* ShowMenu(TForm1& f, const MenuEntry (&menu)[N], int x, int y) {
  const MenuState& s = f.Menus;
  std::vector<platform::MenuItem> items;
  for (const MenuEntry& e : menu)
    items.push_back({e.Caption, !e.Enabled || s.*e.Enabled, !e.Visible || s.*e.Visible});
  const int chosen = f.Plat.ui->PopupMenu(items, x, y);
  if (chosen < 0 || chosen >= static_cast<int>(N)) return nullptr;
  const platform::MenuItem& item = items[chosen];
  return item.enabled && item.visible ? &menu[chosen] : nullptr;
}

}  // namespace

void OpenGameMenu(TForm1& f, int x, int y) {
  MenuState& s = f.Menus;
  f.State.Mode.MenuOpen = true;
  s.SM01 = s.SM02 = s.SM04 = s.SM05 = true;
  const MenuEntry* chosen = ShowMenu(f, kGameMenu, x, y);
  // The menu is closed once PopupMenu returns, whether an item was chosen or not.
  f.State.Mode.MenuOpen = false;
  if (chosen) chosen->Click(f);
}

void OpenQuitMenu(TForm1& f) {
  // Below the tool bar's quit button: the bar lies over the picture in full screen.
  const bool overlay = f.State.Shell.FullScreenActive || f.State.Shell.BorderlessActive;
  const MenuEntry* chosen = ShowMenu(f, kQuitMenu, 4, overlay ? 21 : 0);
  if (chosen) chosen->Click(f);
}

// ============================================================ [SECTION] Menu items

void N6Click(TForm1& f) {
  AskYesNo(f, "タイトルへ戻りますか？", DialogKind::ReturnToTitle);
}
void N7Click(TForm1& f) {
  f.Close();
}

void N1Click(TForm1& f) {
  StopVoice(f);
  StopLoopingEffect(f);
  EndReplay(f);
}
void N2Click(TForm1& f) {
  N1Click(f);
}

void SM01Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  Banks& v = f.State.Vars;
  if (v.S(kSysLastAutoDelay) == 0) v.S(kSysLastAutoDelay) = 5;
  f.State.SetAutoDelay(v.S(kSysLastAutoDelay));
  RedrawQuickButtons(f);
}

void SM02Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  StopVoice(f);
  f.State.Vars.S(kSysQuickButton1) = 2;
  f.State.Mode.SkipMode = SkipMode::On;
  RedrawQuickButtons(f);
}

void N4Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  OpenBacklog(f);
}
void SM04Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  HideMessageWindow(f);
}
void SM05Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  ReplayLastVoice(f);
}
void N5Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  AskYesNo(f, "クイックロードしますか？", DialogKind::QuickLoad);
}
void N8Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  QuickSave(f);
}
void N9Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  PlaySound(f, "SSE06", 1);
  OpenLoadScreen(f);
}
void N10Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  PlaySound(f, "SSE05", 1);
  OpenSaveScreen(f);
}
void N13Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  OpenSettings(f);
}
void N17Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  AskYesNo(f, "タイトルへ戻りますか？", DialogKind::ReturnToTitle);
}
void N18Click(TForm1& f) {
  f.State.Mode.MenuOpen = false;
  f.Close();
}

// ============================================================ [SECTION] Tool bar

namespace {

void StopSkipAndAutoMode(TForm1& f) {
  f.State.SetAutoDelay(0);
  StopSkip(f);
}

}  // namespace

void SpeedButton1Click(TForm1& f) {
  StopSkipAndAutoMode(f);
  OpenQuitMenu(f);
}

void SpeedButton2Click(TForm1& f) {
  StopSkipAndAutoMode(f);
  OpenSettings(f);
}

void SpeedButton3Click(TForm1& f) {
  if (f.State.Mode.EffectRunning) return;
  PlaySound(f, "SSE05", 1);
  OpenSaveScreen(f);
}

void SpeedButton4Click(TForm1& f) {
  if (f.State.Mode.EffectRunning) return;
  PlaySound(f, "SSE06", 1);
  OpenLoadScreen(f);
}

// ============================================================ [SECTION] Right-click function

void RightClickFunction(TForm1& f) {
  ModeState& m = f.State.Mode;
  Banks& v = f.State.Vars;
  if (m.MenuOpen) {
    m.MenuOpen = false;
    return;
  }
  switch (f.State.Settings.RightClickAction) {
    case RightClickAction::GameMenu:
      OpenGameMenu(f, f.PointerX + 16, f.PointerY);
      break;
    case RightClickAction::HideWindow:
      HideMessageWindow(f);
      break;
    case RightClickAction::Skip:
      StopVoice(f);
      v.S(kSysQuickButton1) = 2;
      RedrawQuickButtons(f);
      m.SkipMode = SkipMode::On;
      break;
    case RightClickAction::Auto:
      if (v.S(kSysLastAutoDelay) == 0) v.S(kSysLastAutoDelay) = 5;
      f.State.SetAutoDelay(v.S(kSysLastAutoDelay));
      RedrawQuickButtons(f);
      break;
    case RightClickAction::PanicPicture:
      ShowPanicPicture(f);
      break;
    default:
      break;
  }
}

// ============================================================ [SECTION] Quit question after a
// transition

void AskQuitAfterClose(TForm1& f) {
  InterpreterState& in = f.State.Interp;
  in.ScriptRunning = false;
  // The question is drawn over the game screen; the picture under it comes back.
  Bitmap saved;
  ReadScreen(f, saved);
  const platform::MsgResult r =
      f.Plat.ui->MessageBox("ゲームを終了しますか？", "確認", platform::MsgButtons::OkCancel,
                            platform::MsgIcon::Question);
  if (r == platform::MsgResult::Ok) f.State.Mode.QuitRequested = true;
  CopyToScreen(f, saved);
  PresentScreen(f);
  in.ScriptRunning = true;
  f.State.Mode.EffectAbort = EffectAbort::None;
}

}  // namespace zk
