// Operations the engine core calls in subsystems that are connected one by
// one. Each is declared here with the subsystem that owns it; a subsystem that
// is not connected yet keeps the do-nothing version in core/Hooks.cpp. When a
// subsystem connects one, its definition moves to that subsystem's folder.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

class TForm1;
struct Bitmap;

// ---- Start-up and game data (resources/)
void RunStartup(TForm1& f);  // the whole start-up sequence, from FormCreate
// A script entry with its bytes restored, the patch archive first.
bool ReadScriptEntry(TForm1& f, std::string_view upperName, std::vector<uint8_t>& out);

// ---- Script interpreter (script/)
void InterpreterStep(TForm1& f);            // one step of the line interpreter
void PageReset(TForm1& f);                  // start a new text page
void StartMainScript(TForm1& f);            // load "main" and run it from its first line
bool ScriptFinished(const TForm1& f);       // the outermost script ran past its end

// ---- Input and menus (core/)
void RefreshMenuStates(TForm1& f);          // a script wrote S000 or S028
void RedrawQuickButtons(TForm1& f);         // skip or auto mode changed
// The window was asked to close during a transition of `gra`: ask the
// player (interpreter off, screen kept, "ゲームを終了しますか？").
void AskQuitAfterClose(TForm1& f);

// ---- Text (text/)
void ResetTextFonts(TForm1& f);             // also after the large-text flag changed
// Cells per text row of the current text mode (window or full-screen text).
int TextCellsPerRow(const TForm1& f);
// Draws one character (1 or 2 bytes) of the page at a text cell in the
// current colour index.
void DrawPageChar(TForm1& f, const char* bytes, int length, int column, int row);
void ShowNamePlate(TForm1& f, std::string_view name);  // an empty name clears the plate
// Ruby text over a text cell: white, 9 pixels high, 7 above the row's glyphs.
void DrawRuby(TForm1& f, std::string_view text, int column, int row);
// The drawing half of a page reset: an empty message window (or, in
// full-screen text mode, the page background) on the screen.
void DrawPageReset(TForm1& f);
// `mode`: forgets the saved message window; when switched, builds the layout
// of the text mode now in S150 and redraws the scene.
void SwitchTextModeDisplay(TForm1& f, bool switched);
// The page rewind view's snapshots: store the page in the next slot, or step
// the slot counter back so the next snapshot overwrites the last one.
void TakePageSnapshot(TForm1& f);
void DropPageSnapshot(TForm1& f);
// Plain text for effects (end roll, completion rate): width in pixels, and
// drawing into a bitmap with the top left corner at x, y.
int MeasureText(TForm1& f, std::string_view sjis, const char* faceUtf8, int height);
void DrawTextToBitmap(TForm1& f, Bitmap& target, int x, int y, std::string_view sjis,
                      const char* faceUtf8, int height, uint32_t rgb);
// Adds the message window (in full-screen text mode the text page), its
// buttons, the speaker plate and the page text to the scene surface; part of
// every scene build (graphics).
void DrawMessageWindowLayer(TForm1& f);
// The scene's layers changed: a cached message-window picture is stale.
void InvalidateMessageWindow(TForm1& f);
void ShowMessageWindow(TForm1& f);          // window hidden → shown again (ScreenMode 1)
void HideMessageWindow(TForm1& f);

// ---- Scene graphics (graphics/)
void PaintScene(TForm1& f, bool stageOnly);  // copy the scene (or stage) surface to the screen
void ClearScreenToScene(TForm1& f);          // fill the screen black and copy it into the scene
// The 800 x 600 surfaces; nullptr while graphics has not created them.
Bitmap* BackgroundSurface(TForm1& f);
Bitmap* StageSurface(TForm1& f);
Bitmap* SceneSurface(TForm1& f);
void RedrawScene(TForm1& f);                 // recompose the layers and show them
void SepiaFlash(TForm1& f, int kind);        // `special 3` and `special 4`
// The frame clock: start, then wait one period (pumping messages); returns
// the periods elapsed, at least 1. WaitUntilTick sleeps to a clock deadline
// and then pumps messages.
void FrameClockStart(TForm1& f);
int FrameClockWait(TForm1& f, int periodMs);
void WaitUntilTick(TForm1& f, uint32_t deadlineMs);

// ---- Quick buttons and wait cursor (core/, input)
void AnimateWaitCursor(TForm1& f);
void EraseWaitCursor(TForm1& f);
// How many of the next AnimateWaitCursor calls would leave the screen as it
// is (the mark already shows the frame they draw); INT_MAX when none of them
// draws anything.
int WaitCursorQuietTicks(TForm1& f);
void ClearQuickButtonHover(TForm1& f);  // core/

// ---- Choices (script/)
void ChoiceTick(TForm1& f);
// True while ChoiceTick has nothing to do until input arrives (no timed
// default choice counts down). Move it together with ChoiceTick.
bool ChoiceTickQuiet(TForm1& f);

// ---- Sound (audio/)
void SoundInit(TForm1& f);
void SoundTick(TForm1& f);                  // streaming and housekeeping, every timer tick
// True while SoundTick has nothing to do until input arrives (nothing
// streams, fades or waits for an end). Move it together with SoundTick.
bool SoundTickQuiet(TForm1& f);
bool VoicePlaying(TForm1& f);
void StopVoice(TForm1& f);
void StopMusic(TForm1& f);
void StartMusic(TForm1& f, int32_t number);
void ApplyVolumes(TForm1& f);
bool MoviePlaying(TForm1& f);
void StopMovie(TForm1& f);
bool WaveOutputPresent(TForm1& f);
bool VoiceExists(TForm1& f, std::string_view name);
void PlayVoice(TForm1& f, std::string_view name);
void PlaySound(TForm1& f, std::string_view name, int kind);  // 1 once, 2 as the looping effect

// ---- Effects, animations, staff rolls (effects/)
void EffectTick(TForm1& f);
// True while EffectTick has nothing to do until input arrives. Move it
// together with EffectTick.
bool EffectTickQuiet(TForm1& f);
void BackgroundAnimationStep(TForm1& f);     // one step of a bg_anim animation
// Scene build (graphics): takes a shown manpu symbol off the window, and while
// a background animation runs restores the window area of each of its frames.
void ManpuErase(TForm1& f);
void RestoreAnimationWindows(TForm1& f);
void StaffRollIdle(TForm1& f);
void StaffRollTick(TForm1& f);
void StaffRollStop(TForm1& f);
void StaffRollPause(TForm1& f, bool paused);

// ---- Game services (services/)
void WriteGlobalSave(TForm1& f);
void RecollectionTick(TForm1& f);
void CgViewerIdle(TForm1& f);
void MapIdle(TForm1& f);
void MapPaint(TForm1& f);
// Called by the graphics commands: a shown picture's CG bit (when it is in
// the CG list), the play counter of every layout request, and the date panel
// of the scene build.
void MarkCgSeen(TForm1& f, std::string_view pictureName);
void CountPlay(TForm1& f);
void DrawDatePanel(TForm1& f);
void EndReplay(TForm1& f);                   // `end`/`exit`/`vend` in a replayed scene
void MarkSceneSeen(TForm1& f, std::string_view scriptName);  // scene bit of a listed script
int CgListCount(TForm1& f);                  // entries of the CG list
void RunNameEntry(TForm1& f);                // the modal name-entry dialog
// The game's two default player names (Shift-JIS).
void GameDefaultNames(TForm1& f, std::string& first, std::string& second);

// ---- Developer tools (devtools/)
void WatchPanelRefresh(TForm1& f);  // core/ (the developer panel's watch list)
// An expression or assignment error (kind 3); silent in play.
void ReportScriptError(TForm1& f, const char* messageUtf8, int kind);

// ---- Called by input, menus, quick buttons and the window fades (core/)
// text/ (backlog, page rewind view, window hiding, panic picture):
void OpenBacklog(TForm1& f);  // does nothing while S028 is 0
void CloseBacklog(TForm1& f);
void BacklogMouseDown(TForm1& f, int x, int y);
void BacklogMouseMove(TForm1& f, int x, int y);
void BacklogMouseUp(TForm1& f);
void BacklogWheel(TForm1& f, int delta);        // delta > 0 toward older lines
void OpenRewindView(TForm1& f);                 // does nothing while S028 is 0
void StepRewindView(TForm1& f, int direction);  // +1 an older page, -1 a newer one
void CloseRewindView(TForm1& f);
void ShowPanicPicture(TForm1& f);
bool PanicPictureShown(const TForm1& f);
void LeavePanicPicture(TForm1& f);
// text/ (message window): the window picture and its composed copy (nullptr
// while there is none), and the page-is-clean mark that skips the redraw.
Bitmap* MessageWindowPicture(TForm1& f);
Bitmap* ComposedWindowCache(TForm1& f);
void MarkPageClean(TForm1& f);
// graphics/:
Bitmap* PreviousFrameSurface(TForm1& f);
Bitmap* OutputSurface(TForm1& f);
// Builds the scene surface from the stage with the message window (and the
// page) on it, without showing it.
void BuildSceneSurface(TForm1& f);
// script/ (choices and flow):
void ChoiceHover(TForm1& f, int x, int y);  // every choice kind, by ChoiceMode
void ChoiceConfirm(TForm1& f, bool right);
void GoToLabel(TForm1& f, const char* label);
void ResetPageText(TForm1& f);  // the text state of a page reset, nothing drawn
void LoadAndStartScript(TForm1& f, const char* name);  // load, reset and run from the start
// audio/:
void ReplayLastVoice(TForm1& f);
void StopLoopingEffect(TForm1& f);
// services/ (save and load, in-game dialogs, title return, settings, screens):
void OpenSaveScreen(TForm1& f);
void OpenLoadScreen(TForm1& f);
void QuickSave(TForm1& f);
void AskYesNo(TForm1& f, const char* questionUtf8, int kind);
void DialogMouseDown(TForm1& f, int x, int y, bool right);
void DialogMouseMove(TForm1& f, int x, int y);
void ReturnToTitle(TForm1& f);
void OpenSettings(TForm1& f);
bool SimpleSettingsOpen(const TForm1& f);
void SimpleSettingsMouseDown(TForm1& f, int x, int y, bool right);
void SimpleSettingsMouseMove(TForm1& f, int x, int y);
void SimpleSettingsMouseUp(TForm1& f, int x, int y);
void MapMouseDown(TForm1& f, int x, int y, bool right);
void MapMouseMove(TForm1& f, int x, int y);
void CgViewerMouseDown(TForm1& f, int x, int y, bool right);
void CgViewerMouseMove(TForm1& f, int x, int y);
void RecollectionMouseDown(TForm1& f, int x, int y, bool right);
void RecollectionMouseMove(TForm1& f, int x, int y);
void RecollectionMouseUp(TForm1& f, int x, int y);
// devtools/:
int32_t RunScriptEditor(TForm1& f, int32_t offset);  // modal; the offset to continue at
void ShowVariableEditor(TForm1& f);
bool RunScriptSelector(TForm1& f, std::string& chosen);  // modal; false when cancelled

}  // namespace zk
