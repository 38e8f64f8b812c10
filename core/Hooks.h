// Operations the engine core calls in subsystems that are connected one by
// one. Each is declared here with the subsystem that owns it; a subsystem that
// is not connected yet keeps the do-nothing version in core/Hooks.cpp. When a
// subsystem connects one, its definition moves to that subsystem's folder.
#pragma once
#include <cstdint>
#include <string_view>

namespace zk {

class TForm1;

// ---- Start-up and game data (resources/)
void RunStartup(TForm1& f);  // the whole start-up sequence, from FormCreate

// ---- Script interpreter (script/)
void InterpreterStep(TForm1& f);            // one step of the line interpreter
void PageReset(TForm1& f);                  // start a new text page
void StartMainScript(TForm1& f);            // load "main" and run it from its first line
bool ScriptFinished(const TForm1& f);       // the outermost script ran past its end

// ---- Text (text/)
void ResetTextFonts(TForm1& f);
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

// ---- Quick buttons and wait cursor (core/, input)
// The window was asked to close during a transition of `gra`: ask the
// player (interpreter off, screen kept, "ゲームを終了しますか？").
void AskQuitAfterClose(TForm1& f);
void AnimateWaitCursor(TForm1& f);
void EraseWaitCursor(TForm1& f);
void ClearQuickButtonHover(TForm1& f);

// ---- Choices (script/)
void ChoiceTick(TForm1& f);

// ---- Sound (audio/)
void SoundInit(TForm1& f);
void SoundTick(TForm1& f);                  // streaming and housekeeping, every timer tick
bool VoicePlaying(TForm1& f);
void StopVoice(TForm1& f);
void StopMusic(TForm1& f);
void StartMusic(TForm1& f, int32_t number);
void ApplyVolumes(TForm1& f);
bool MoviePlaying(TForm1& f);
void StopMovie(TForm1& f);

// ---- Effects, animations, staff rolls (effects/)
void EffectTick(TForm1& f);
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

// ---- Developer tools (devtools/)
void WatchPanelRefresh(TForm1& f);

}  // namespace zk
