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

struct MenuEntry {
  const char* Caption;
  bool MenuState::*Enabled;  // nullptr: always enabled
  void (*Click)(TForm1&);
};

const MenuEntry kGameMenu[] = {
    {"自動送り", &MenuState::SM01, SM01Click},
    {"スキップ", &MenuState::SM02, SM02Click},
    {"ログ", &MenuState::N4, N4Click},
    {"ウィンドウ消去", &MenuState::SM04, SM04Click},
    {"直前の音声を再生", &MenuState::SM05, SM05Click},
    {"クイックロード", &MenuState::N5, N5Click},
    {"クイックセーブ", &MenuState::N8, N8Click},
    {"ロード", &MenuState::N9, N9Click},
    {"セーブ", &MenuState::N10, N10Click},
    {"設定", &MenuState::N13, N13Click},
    {"タイトルへ戻る", nullptr, N17Click},
    {"終了", nullptr, N18Click},
};

}  // namespace

void OpenGameMenu(TForm1& f, int x, int y) {
  MenuState& s = f.Menus;
  f.State.Mode.MenuOpen = true;
  s.SM01 = s.SM02 = s.SM04 = s.SM05 = true;
  std::vector<platform::MenuItem> items;
  for (const MenuEntry& e : kGameMenu) items.push_back({e.Caption, !e.Enabled || s.*e.Enabled});
  const int chosen = f.Plat.ui->PopupMenu(items, x, y);
  // The menu is closed once PopupMenu returns, whether an item was chosen or not.
  f.State.Mode.MenuOpen = false;
  if (chosen >= 0 && chosen < static_cast<int>(items.size()) && items[chosen].enabled)
    kGameMenu[chosen].Click(f);
}

void OpenQuitMenu(TForm1& f) {
  const MenuState& s = f.Menus;
  const std::vector<platform::MenuItem> items = {
      {"タイトルへ戻る", true, true},
      {"ゲーム終了", true, true},
      {"シーンスキップ", true, s.N1Visible},
      {"回想モード終了", true, s.N2Visible},
  };
  void (*const clicks[])(TForm1&) = {N6Click, N7Click, N1Click, N2Click};
  // Below the tool bar's quit button: the bar lies over the picture in full screen.
  const bool overlay = f.State.Shell.FullScreenActive || f.State.Shell.BorderlessActive;
  const int chosen = f.Plat.ui->PopupMenu(items, 4, overlay ? 21 : 0);
  if (chosen >= 0 && chosen < static_cast<int>(items.size()) && items[chosen].visible)
    clicks[chosen](f);
}

// ============================================================ [SECTION] Menu items

void N6Click(TForm1& f) {
  AskYesNo(f, "タイトルへ戻りますか？", 3);
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
  f.State.Mode.SkipMode = 1;
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
  AskYesNo(f, "クイックロードしますか？", 1);
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
  AskYesNo(f, "タイトルへ戻りますか？", 3);
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
    case 0:
      OpenGameMenu(f, f.PointerX + 16, f.PointerY);
      break;
    case 1:
      HideMessageWindow(f);
      break;
    case 2:
      StopVoice(f);
      v.S(kSysQuickButton1) = 2;
      RedrawQuickButtons(f);
      m.SkipMode = 1;
      break;
    case 3:
      if (v.S(kSysLastAutoDelay) == 0) v.S(kSysLastAutoDelay) = 5;
      f.State.SetAutoDelay(v.S(kSysLastAutoDelay));
      RedrawQuickButtons(f);
      break;
    case 4:
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
  f.State.Mode.EffectAbort = 0;
}

}  // namespace zk
