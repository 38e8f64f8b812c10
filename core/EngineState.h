// The engine's shared vocabulary: variable banks, mode and wait state and the
// interpreter registers. Everything here is plain data owned by TForm1.
//
// [SECTION] Bit banks and integer cells
// [SECTION] Mode, wait and shell state
// [SECTION] Player settings
// [SECTION] Interpreter state
// [SECTION] EngineState
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/Crc32.h"

namespace zk {

// ============================================================ [SECTION] Bit banks and integer cells

// kBits usable bits stored least significant bit first in kBytes bytes.
// Numbers outside 0..kBits-1 are ignored by set and clear and test as clear.
template <int kBits, int kBytes = (kBits + 7) / 8>
struct BitBank {
  static_assert(kBytes * 8 >= kBits);
  static constexpr int kSize = kBits;
  uint8_t Bytes[kBytes] = {};

  static bool InRange(long n) { return n >= 0 && n < kBits; }
  void Set(long n) {
    if (InRange(n)) Bytes[n >> 3] |= static_cast<uint8_t>(1u << (n & 7));
  }
  void Clear(long n) {
    if (InRange(n)) Bytes[n >> 3] &= static_cast<uint8_t>(~(1u << (n & 7)));
  }
  void Put(long n, bool on) { on ? Set(n) : Clear(n); }
  bool Test(long n) const { return InRange(n) && (Bytes[n >> 3] >> (n & 7)) & 1; }
  void ClearAll() { std::memset(Bytes, 0, sizeof Bytes); }
};

constexpr int kCellCount = 3010;
constexpr int kCellV = 0;      // V000..V999
constexpr int kCellS = 2000;   // S000..S999
constexpr int kCellG = 3000;   // G0..G9
constexpr int kStringCount = 10;
constexpr int kStringSize = 64;  // 63 bytes of Shift-JIS text and the NUL

struct Banks {
  int32_t Cells[kCellCount] = {};
  BitBank<1024> F;
  BitBank<10000> T;
  BitBank<1024> E;
  BitBank<2000, 256> CG;
  BitBank<2000, 256> Scene;
  BitBank<10240 * 8> ReadMarks;
  char Strings[kStringCount][kStringSize] = {};

  int32_t& V(int n) { return Cells[kCellV + n]; }
  int32_t& S(int n) { return Cells[kCellS + n]; }
  int32_t& G(int n) { return Cells[kCellG + n]; }
  int32_t S(int n) const { return Cells[kCellS + n]; }
  int32_t V(int n) const { return Cells[kCellV + n]; }

  // Cell by number; out-of-range numbers read as 0 and are not written.
  int32_t ReadCell(long n) const { return n >= 0 && n < kCellCount ? Cells[n] : 0; }
  void WriteCell(long n, int32_t v) {
    if (n >= 0 && n < kCellCount) Cells[n] = v;
  }

  // Copies at most 63 bytes of text into $n (the rest is dropped), keeping a
  // double-byte character whole.
  void SetString(int n, const char* text);
  const char* GetString(int n) const { return n >= 0 && n < kStringCount ? Strings[n] : ""; }
};

inline void Banks::SetString(int n, const char* text) {
  if (n < 0 || n >= kStringCount) return;
  char* dst = Strings[n];
  size_t len = 0;
  while (text[len] && len < kStringSize - 1) {
    const unsigned char c = static_cast<unsigned char>(text[len]);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead) {
      // A double-byte character that does not fit whole is dropped whole.
      if (len + 2 > kStringSize - 1 || !text[len + 1]) break;
      len += 2;
    } else {
      ++len;
    }
  }
  std::memmove(dst, text, len);
  dst[len] = '\0';
}

// The system cells with a fixed meaning (bank S).
enum SysCell : int {
  kSysSavePermission = 0,
  kSysDateDisplay = 4,  // the message window and the map screen's plate show the date
  kSysMusicPlaying = 5,
  kSysSetNameResult = 6,
  kSysStartupMark = 8,  // set to 8 at start-up
  kSysUpdateMode = 9,   // full-screen text: 1 background first when it changed, 2 always
  kSysBacktoOffset = 10,
  kSysStageFilter = 11,
  kSysFilterLevel = 13,  // brightness in sixteenths (filter 1)
  kSysClickMapHighlight = 15,
  kSysDissolveLevels = 16,  // checker dissolve
  kSysSleepCut = 19,
  kSysOverlayOrder = 20,  // 0 under the characters, 1 over them, else not drawn
  kSysOverlayX = 21,
  kSysOverlayY = 22,
  kSysOverlayOpacity = 23,  // 0: the picture's right half holds its opacity
  kSysCharacterOrder = 24,
  kSysAutoDelay = 26,
  kSysLastAutoDelay = 27,
  kSysPlayerFunctions = 28,
  kSysManpu = 31,  // S031..S033: the symbol's parameters
  kSysManpuX = 32,
  kSysManpuY = 33,
  kSysOverlayOn = 35,
  kSysTextColour = 37,
  kSysDatePanel = 50,    // the "DatePanel" setting
  kSysWindowStyle = 51,  // the "TXWStyle" setting
  kSysClickAction = 56,
  kSysQuickButton1 = 60,  // S060..S071
  kSysPositions = 80,     // S080..S089: x of each position
  kSysPositionsY = 90,    // S090..S099: y of each position
  kSysClearCount = 100,
  kSysFullScreenText = 150,
  kSysChoiceRecord = 151,  // 1 records the choices taken, 2 replays them
  kSysChoiceRecordCount = 152,
  kSysChoiceReplayIndex = 153,
  kSysMemoryOnly = 200,  // S200..S999 are not stored in a save slot
};

// ============================================================ [SECTION] Mode, wait and shell state

// The modes have 32-bit values so that the states holding them keep their
// layout and the numbers a save slot or a state dump shows.

// Who owns the screen and input besides script play. Stored in a save slot.
enum class ScreenMode : int32_t {
  Play = 0,
  WindowHidden = 1,  // the message window is hidden until the next click
  StaffRoll = 3,
  Map = 4,
  CgViewer = 6,
  ScrollingPicture = 7,
  Recollection = 8,  // the recollection screen (a replay itself plays in Play)
  RewindView = 9,    // the page rewind view
};

// The in-game yes/no dialog that owns input.
enum class DialogKind : int32_t {
  None = 0,
  QuickLoad = 1,
  ReturnToTitle = 3,
};

enum class ChoiceMode : int32_t {
  None = 0,
  TextList = 1,
  PictureButtons = 2,  // the choice in full-screen text mode
  ClickMap = 4,
  ChoiceTree = 6,
};

// A request to an effect in progress.
enum class EffectAbort : int32_t {
  None = 0,
  FinishNow = 1,       // a click: show the end at once
  CloseRequested = 2,  // the window was asked to close; the next gra asks to quit
};

enum class SkipMode : int32_t {
  Off = 0,
  On = 1,
  NoText = 2,  // never set by the engine; text is neither rendered nor drawn in it
};

// A scene replayed from one of the extra screens.
enum class ReplayKind : int32_t {
  None = 0,
  CgViewer = 1,
  Recollection = 2,
};

// The pending wait for the player. Stored in a save slot.
enum class ClickWait : int32_t {
  None = 0,
  Page = 1,           // page end (a "\" line or the page mark)
  Line = 2,           // line wait (a "=" line or the line mark)
  PageKeepVoice = 4,  // page end that lets the voice play on ("~")
  PageNoCursor = 5,   // page end without the wait cursor ("+")
};

// The waits that start a new page when released.
constexpr bool EndsPage(ClickWait k) {
  return k == ClickWait::Page || k == ClickWait::PageKeepVoice || k == ClickWait::PageNoCursor;
}

enum class DisplayMode : int32_t {
  Window = 0,
  FullScreen = 1,  // full screen with a display-mode change
  Borderless = 2,  // a borderless window over the whole screen, display mode kept
};

struct ModeState {
  zk::ScreenMode ScreenMode = zk::ScreenMode::Play;
  zk::DialogKind DialogKind = zk::DialogKind::None;
  bool BacklogOpen = false;
  zk::ChoiceMode ChoiceMode = zk::ChoiceMode::None;
  int32_t ChoiceCount = 0;
  int32_t ChoiceHover = 0;
  // The text choice list: top and left of the list and its button width
  // (the arrow keys put the pointer on a button).
  int32_t ChoiceListTop = 0;
  int32_t ChoiceListLeft = 0;
  int32_t ChoiceButtonWidth = 0;
  bool InputLock = false;
  bool EffectRunning = false;
  zk::EffectAbort EffectAbort = zk::EffectAbort::None;
  bool QuitRequested = false;
  bool StartPending = false;
  zk::SkipMode SkipMode = zk::SkipMode::Off;
  bool WindowShown = false;
  zk::ReplayKind ReplayKind = zk::ReplayKind::None;
  int32_t BgAnimFrames = 0;   // frames of the running background animation, 0 none
  bool MenuLock = false;
  bool MenuOpen = false;
};

struct WaitState {
  int32_t WaitTicks = 0;
  int32_t SleepFrames = 0;
  zk::ClickWait ClickWait = zk::ClickWait::None;
  int32_t AutoCountdown = 0;
  int32_t ClickDebounce = 0;
  bool WaitForVoice = false;
  int32_t CharDelay = 1;
  bool PageFinish = false;
  bool CurrentTextRead = false;
};

struct ShellState {
  zk::DisplayMode DisplayMode = zk::DisplayMode::Window;
  int32_t FullScreenActive = 0;
  int32_t SavedWidth = 0, SavedHeight = 0, SavedLeft = 0, SavedTop = 0;
  uint32_t IdleCounter = 0;
  uint32_t TickCounter = 0;
  int32_t DeferredMusicState = 0;
  int32_t DeferredMusic = 0;
  int32_t MovieTag = 0;  // non-zero while a movie plays
  bool ToolbarShown = true;
  bool ScriptEnded = false;  // the outermost script ran past its end
  bool TraceMode = false;
  bool BorderlessActive = false;  // full screen without a display-mode change
};

// The mode fields stay 32-bit cells where they always were.
static_assert(sizeof(ModeState) == 68 && offsetof(ModeState, DialogKind) == 4 &&
              offsetof(ModeState, ChoiceMode) == 12 && offsetof(ModeState, EffectAbort) == 40 &&
              offsetof(ModeState, SkipMode) == 48 && offsetof(ModeState, ReplayKind) == 56);
static_assert(sizeof(WaitState) == 32 && offsetof(WaitState, ClickWait) == 8);
static_assert(sizeof(ShellState) == 48 && offsetof(ShellState, DisplayMode) == 0);

// Holds input and the other handlers off while a blocking effect pumps
// events. A full lock sets InputLock and EffectRunning and clears
// EffectAbort, so that only a click during this effect ends it. The held
// flags are cleared, not restored, when the lock ends (End or the end of
// its scope): an effect nested in another leaves them clear, as it always has.
class EffectLock {
 public:
  enum Hold { kNone = 0, kInput = 1, kRunning = 2, kFull = kInput | kRunning };

  explicit EffectLock(ModeState& m, Hold hold = kFull) : m_(m), hold_(hold) {
    if (hold_ & kInput) m_.InputLock = true;
    if (hold_ & kRunning) m_.EffectRunning = true;
    if (hold_ == kFull) m_.EffectAbort = zk::EffectAbort::None;
  }
  ~EffectLock() { End(); }
  EffectLock(const EffectLock&) = delete;
  EffectLock& operator=(const EffectLock&) = delete;

  // Ends the hold before the scope does, for the steps an effect takes after it.
  void End() {
    if (hold_ & kInput) m_.InputLock = false;
    if (hold_ & kRunning) m_.EffectRunning = false;
    hold_ = kNone;
  }

 private:
  ModeState& m_;
  Hold hold_;
};

// ============================================================ [SECTION] Player settings

// What a right click (or Tab) does in script play.
enum class RightClickAction : int32_t {
  GameMenu = 0,
  HideWindow = 1,
  Skip = 2,
  Auto = 3,
  PanicPicture = 4,
};

// What the wheel turned up does in script play.
enum class WheelAction : int32_t {
  RewindView = 0,
  Backlog = 1,
};

struct PlayerSettings {
  bool TextSpeedOn = true;       // "Delay" 0
  bool SkipReadOnly = true;      // "Seen"
  bool StopAtChoice = true;      // "BreakonSelect"
  zk::RightClickAction RightClickAction = zk::RightClickAction::GameMenu;  // "RC_MODE"
  zk::WheelAction WheelAction = zk::WheelAction::RewindView;               // "WHEEL_MODE"
  bool SwapCtrlShift = false;    // "CS_SWAP"
  bool SkipCutsEffects = true;   // "EFX_CUT"
  bool KeepVoiceOnClick = false; // "CV_THROUGH"
  int32_t GMode = 0;             // non-zero: fast graphics
  int32_t SeGroup[5] = {1, 1, 1, 1, 1};
  int32_t SeLevel[5] = {0, 0, 0, 0, 0};
};

static_assert(sizeof(PlayerSettings) == 60 && offsetof(PlayerSettings, RightClickAction) == 4 &&
              offsetof(PlayerSettings, WheelAction) == 8);

// ============================================================ [SECTION] Interpreter state

constexpr size_t kScriptBufferSize = 0x40000;
constexpr int kLineBufferSize = 2048;
constexpr int kScriptNameSize = 30;
constexpr int kCallStackDepth = 9;
constexpr int kBacklogLines = 200;
constexpr int kBacklogLineSize = 70;
constexpr int kPageRows = 20;
constexpr int kPageCols = 100;

constexpr int kVoiceNameSize = 64;
constexpr int kPageVoicesSize = 256;
constexpr int kListEntries = 32;
constexpr int kListTextSize = 32;  // 31 bytes and the NUL
constexpr int32_t kListNoValue = -99999;

// One field of the argument list that SplitList fills.
struct ListEntry {
  char Text[kListTextSize] = {};
  int32_t Value = kListNoValue;
};

struct CallFrame {
  int32_t ReturnOffset = 0;
  char Script[kScriptNameSize] = {};
};

struct InterpreterState {
  bool ScriptRunning = false;
  bool NeedLine = true;
  uint8_t* ScriptBuffer = nullptr;  // kScriptBufferSize bytes, owned by EngineState
  int32_t ScriptSize = 0;
  int32_t ScriptPos = 0;
  int32_t LineStart = 0;
  char LineBuffer[kLineBufferSize] = {};
  int32_t LinePos = 0;
  const char* PendingText = nullptr;
  char PendingStore[kStringSize] = {};  // holds numbers printed through PendingText
  CallFrame CallStack[kCallStackDepth];
  int32_t CallDepth = 0;
  char CurrentScript[kScriptNameSize] = {};
  char LoadedScript[kScriptNameSize] = {};
  char RecScript[kScriptNameSize] = {};
  uint8_t* SideBuffer = nullptr;  // kScriptBufferSize bytes
  int32_t SideSize = 0;
  int32_t SideRead = 0;  // read offset of the data script in SideBuffer
  // Text cursor and page.
  int32_t Column = 0, Row = 0;
  bool LargeText = false;
  int32_t ColourIndex = 0;
  int32_t PageChars = 0;
  bool NameAsText = false;
  char Page[kPageRows][kPageCols] = {};
  uint8_t PageColours[kPageRows][kPageCols] = {};  // colour index of each printed cell
  char PageVoices[kPageVoicesSize] = {};           // voices of this page, each with a blank
  char LastVoice[kVoiceNameSize] = {};
  // The backlog ring: 201 slots so the line being written never overwrites
  // the oldest stored one.
  char BacklogText[(kBacklogLines + 1) * kBacklogLineSize] = {};
  int32_t BacklogCount = 0;
  int32_t BacklogWrite = 0;
  // The argument list of the list rule.
  ListEntry ListArgs[kListEntries];
  // The last expression or assignment error reported (for the developer tools).
  const char* LastError = nullptr;
  int32_t ErrorCount = 0;
};

// ============================================================ [SECTION] EngineState

struct EngineState {
  EngineState();
  ~EngineState();
  EngineState(const EngineState&) = delete;
  EngineState& operator=(const EngineState&) = delete;

  Banks Vars;
  ModeState Mode;
  WaitState Wait;
  ShellState Shell;
  PlayerSettings Settings;
  InterpreterState Interp;

  int32_t AutoDelay() const { return Vars.S(kSysAutoDelay); }
  void SetAutoDelay(int32_t v) { Vars.S(kSysAutoDelay) = v; }
};

}  // namespace zk
