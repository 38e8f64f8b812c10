// The quick-button panel of the message window and the opening and closing of
// the window itself.
//
// The panel sits at (707, 464) on the game screen and has twelve slots; each
// slot with a button is 24 pixels high and has a place in the panel and a
// column in the sprite sheet "sys_qbtn" (normal look in the window frame,
// under-the-pointer look at sheet row 24, pressed or active look at row 48).
// The states of the slots are the system cells S060..S071: 0 normal, 1 under
// the pointer, 2 pressed or active; a state with the bit 8 set hides the
// button.
//
// [SECTION] Layout
// [SECTION] Panel state
// [SECTION] Operations
#pragma once
#include <cstdint>

#include "base/Bitmap.h"

namespace zk {

class TForm1;

// ============================================================ [SECTION] Layout

constexpr int kQuickButtonCount = 12;
constexpr int kQuickPanelX = 707;
constexpr int kQuickPanelY = 464;
constexpr int kQuickPanelWidth = 78;
constexpr int kQuickPanelHeight = 120;
constexpr int kQuickButtonHeight = 24;
constexpr int kQuickSlotAbsent = -99;  // X of a slot without a button

struct QuickButtonSlot {
  int X, Y, Width, SourceX;  // place in the panel; column in the sprite sheet
};
// Slot k (1..12) is entry k - 1.
extern const QuickButtonSlot kQuickButtonLayout[kQuickButtonCount];

// What each slot does; also the targets of the function keys.
enum QuickAction : int {
  kQuickNone = 0,
  kQuickSkip = 1,
  kQuickAuto = 2,
  kQuickHideWindow = 3,
  kQuickSave = 4,
  kQuickLoad = 5,
  kQuickBacklog = 6,
  kQuickVoice = 7,
  kQuickSettings = 8,
  kQuickAutoSlower = 9,   // auto delay + 1
  kQuickAutoFaster = 10,  // auto delay - 1
  kQuickSaveScreen = 11,
  kQuickLoadScreen = 12,
};

// F1..F12 → action.
extern const int kFunctionKeyActions[12];

// ============================================================ [SECTION] Panel state

struct QuickButtonPanel {
  int HoverButton = 0;           // slot under the pointer (1..12), 0 none
  Bitmap Background;             // 78 x 120: the window frame under the panel, all buttons normal
  Bitmap Panel;                  // 78 x 120: where the panel is composed
  Bitmap Sheet;                  // "sys_qbtn"
  int WindowX = 0, WindowY = 0;  // message window position on the screen
};

// ============================================================ [SECTION] Operations

// The state cell of slot 1..12 (S060..S071).
int32_t& QuickButtonState(TForm1& f, int slot);

// Takes the sprite sheet and copies the part of the message-window frame
// picture that lies under the panel; only the first colourRows rows of the
// frame are its colours (-1: all of them).
void SetQuickButtonPictures(TForm1& f, Bitmap sheet, const Bitmap& windowFrame, int windowX,
                            int windowY, int colourRows = -1);
// Start-up: loads "sys_qbtn" and takes the panel's background from the
// message window's frame (colour rows over opacity rows, as the text keeps it).
void LoadQuickButtonPictures(TForm1& f, const Bitmap& windowFrame);

// kind 0: shows the panel on the screen (and in the scene surface) when the
// window is shown or in full-screen text mode; kind 1: that, and also into the
// message window picture and its composed cache; kind 2: only the latter.
void DrawQuickButtons(TForm1& f, int kind);
// The usual redraw after a state change (kind 1).
void RedrawQuickButtons(TForm1& f);

// Finds the slot under (x, y), applies the filters of the current state and
// marks it; with flag < 3 a changed result is drawn. Returns HoverButton.
int QuickButtonHover(TForm1& f, int x, int y, int flag);
// Forgets the hovered slot (the pointer left the panel's control).
void ClearQuickButtonHover(TForm1& f);
// Performs HoverButton; true when an action was performed.
bool QuickButtonAction(TForm1& f);
// F1..F12 (n = 1..12): the mapped action, refused by the save/load
// permission and the auto-delay range, then performed.
void FunctionKey(TForm1& f, int n);
// True when the mapped action of a function key may run now.
bool FunctionKeyAllowed(const TForm1& f, int action);
// The save and load permission of S000 (0 both, 1 loading only, 2 or 3
// neither); saving also needs the player functions of S028.
bool SavingAllowed(const TForm1& f);
bool LoadingAllowed(const TForm1& f);

// Skip off: S060 and S061 cleared, SkipMode 0, buttons redrawn.
void StopSkip(TForm1& f);
// A slot shown pressed for 50 ms, then normal again.
void PressFlash(TForm1& f, int slot);

}  // namespace zk
