// Input state of the main window, the enabled state of its tool bar and
// menus, the two popup menus and the right-click function.
//
// The tool bar (SpeedButton1..4: quit, settings, save, load) is drawn by the
// display; the popup menus go through platform::Ui::PopupMenu, which returns
// when the menu closes.
#pragma once
#include <cstdint>

namespace zk {

class TForm1;

// Key and wheel bookkeeping of the handlers.
struct InputState {
  bool WheelBusy = false;  // the wheel handler is running (it guards against re-entry)
  bool CtrlDown = false;   // the physical Ctrl and Shift keys are held: the
  bool ShiftDown = false;  // repeats of a held key are not new presses
};

// Enabled (and for two items visible) state of the tool bar and the menu
// items, kept by the menu refresh and by the screens that lock the menus.
struct MenuState {
  bool Panel1 = true;
  bool SpeedButton1 = true, SpeedButton2 = true, SpeedButton3 = true, SpeedButton4 = true;
  // PopupMenu3, the game menu
  bool SM01 = true, SM02 = true, N4 = true, SM04 = true, SM05 = true;
  bool N5 = true, N8 = true, N9 = true, N10 = true, N13 = true;
  // PopupMenu1: "シーンスキップ" and "回想モード終了" show only during a replay
  bool N1Visible = false, N2Visible = false;
};

// Recomputes the enabled states from the menu lock, S000, S028 and the
// background animation and hands the tool bar's to the display. Run on demand
// and after a script writes S000 or S028.
void RefreshMenuStates(TForm1& f);
// The window was asked to close during a transition of `gra`: ask the
// player (interpreter off, screen kept, "ゲームを終了しますか？").
void AskQuitAfterClose(TForm1& f);

// The right-click function (also the Tab key).
void RightClickFunction(TForm1& f);

// Tool bar buttons.
void SpeedButton1Click(TForm1& f);  // "終了": the quit menu
void SpeedButton2Click(TForm1& f);  // "設定"
void SpeedButton3Click(TForm1& f);  // "記録"
void SpeedButton4Click(TForm1& f);  // "読込"

// Opens PopupMenu1 (quit menu) / PopupMenu3 (game menu) and runs the chosen item.
void OpenQuitMenu(TForm1& f);
void OpenGameMenu(TForm1& f, int x, int y);

// PopupMenu1 items.
void N6Click(TForm1& f);  // "タイトルへ戻る"
void N7Click(TForm1& f);  // "ゲーム終了"
void N1Click(TForm1& f);  // "シーンスキップ"
void N2Click(TForm1& f);  // "回想モード終了"
// PopupMenu3 items.
void SM01Click(TForm1& f);  // "自動送り"
void SM02Click(TForm1& f);  // "スキップ"
void N4Click(TForm1& f);    // "ログ"
void SM04Click(TForm1& f);  // "ウィンドウ消去"
void SM05Click(TForm1& f);  // "直前の音声を再生"
void N5Click(TForm1& f);    // "クイックロード"
void N8Click(TForm1& f);    // "クイックセーブ"
void N9Click(TForm1& f);    // "ロード"
void N10Click(TForm1& f);   // "セーブ"
void N13Click(TForm1& f);   // "設定"
void N17Click(TForm1& f);   // "タイトルへ戻る"
void N18Click(TForm1& f);   // "終了"

}  // namespace zk
