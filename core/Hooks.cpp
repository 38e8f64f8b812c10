// Do-nothing versions of the subsystem operations that are not connected yet
// (see core/Hooks.h). Each one disappears from here when its subsystem lands.
#include "core/Hooks.h"

#include "core/TForm1.h"

namespace zk {

void RunStartup(TForm1& f) {
  // Without game data there is nothing to load: start the (empty) game.
  f.State.Mode.StartPending = true;
}

void InterpreterStep(TForm1&) {}
void PageReset(TForm1&) {}
void StartMainScript(TForm1& f) { f.State.Interp.ScriptRunning = false; }
bool ScriptFinished(const TForm1& f) { return !f.State.Interp.ScriptRunning; }

void ResetTextFonts(TForm1&) {}
void DrawMessageWindowLayer(TForm1&) {}
void InvalidateMessageWindow(TForm1&) {}
void ShowMessageWindow(TForm1& f) { f.State.Mode.ScreenMode = 0; }
void HideMessageWindow(TForm1&) {}


void AskQuitAfterClose(TForm1&) {}
void AnimateWaitCursor(TForm1&) {}
void EraseWaitCursor(TForm1&) {}
void ClearQuickButtonHover(TForm1&) {}

void ChoiceTick(TForm1&) {}

void SoundInit(TForm1&) {}
void SoundTick(TForm1&) {}
bool VoicePlaying(TForm1& f) { return f.VoiceStandIn; }
void StopVoice(TForm1& f) { f.VoiceStandIn = false; }
void StopMusic(TForm1&) {}
void StartMusic(TForm1&, int32_t) {}
void ApplyVolumes(TForm1&) {}
bool MoviePlaying(TForm1&) { return false; }
void StopMovie(TForm1&) {}

void EffectTick(TForm1&) {}
void BackgroundAnimationStep(TForm1&) {}
void ManpuErase(TForm1&) {}
void RestoreAnimationWindows(TForm1&) {}
void StaffRollIdle(TForm1&) {}
void StaffRollTick(TForm1&) {}
void StaffRollStop(TForm1&) {}
void StaffRollPause(TForm1&, bool) {}

void WriteGlobalSave(TForm1&) {}
void RecollectionTick(TForm1&) {}
void CgViewerIdle(TForm1&) {}
void MapIdle(TForm1&) {}
void MapPaint(TForm1&) {}
void MarkCgSeen(TForm1&, std::string_view) {}
void CountPlay(TForm1&) {}
void DrawDatePanel(TForm1&) {}

void WatchPanelRefresh(TForm1&) {}

}  // namespace zk
