// Do-nothing versions of the subsystem operations that are not connected yet
// (see core/Hooks.h). Each one disappears from here when its subsystem lands.
#include "core/Hooks.h"

#include "core/TForm1.h"

namespace zk {

void TakePageSnapshot(TForm1&) {}
void DropPageSnapshot(TForm1&) {}

void SoundInit(TForm1&) {}
void SoundTick(TForm1&) {}
// SoundTick does nothing yet.
bool SoundTickQuiet(TForm1&) { return true; }
bool VoicePlaying(TForm1& f) { return f.VoiceStandIn; }
void StopVoice(TForm1& f) { f.VoiceStandIn = false; }
void StopMusic(TForm1&) {}
void StartMusic(TForm1&, int32_t) {}
void ApplyVolumes(TForm1&) {}
bool MoviePlaying(TForm1&) { return false; }
void StopMovie(TForm1&) {}
bool WaveOutputPresent(TForm1&) { return true; }
bool VoiceExists(TForm1&, std::string_view) { return false; }
void PlayVoice(TForm1&, std::string_view) {}
void PlaySound(TForm1&, std::string_view, int) {}

void EffectTick(TForm1&) {}
// EffectTick does nothing yet.
bool EffectTickQuiet(TForm1&) { return true; }
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
void EndReplay(TForm1&) {}
void MarkSceneSeen(TForm1&, std::string_view) {}
int CgListCount(TForm1&) { return 0; }
void RunNameEntry(TForm1&) {}

void ReportScriptError(TForm1&, const char*, int) {}

// Called by input, menus, quick buttons and the window fades (core/).
void OpenBacklog(TForm1&) {}
void CloseBacklog(TForm1&) {}
void BacklogMouseDown(TForm1&, int, int) {}
void BacklogMouseMove(TForm1&, int, int) {}
void BacklogMouseUp(TForm1&) {}
void BacklogWheel(TForm1&, int) {}
void OpenRewindView(TForm1&) {}
void StepRewindView(TForm1&, int) {}
void CloseRewindView(TForm1&) {}
void ShowPanicPicture(TForm1&) {}
bool PanicPictureShown(const TForm1&) { return false; }
void LeavePanicPicture(TForm1&) {}
void ChoiceHover(TForm1&, int, int) {}
// Until choices are connected, confirming an option closes the choice.
void ChoiceConfirm(TForm1& f, bool) {
  if (f.State.Mode.ChoiceHover != 0) f.State.Mode.ChoiceMode = 0;
}
void GoToLabel(TForm1&, const char*) {}
void ResetPageText(TForm1&) {}
void LoadAndStartScript(TForm1&, const char*) {}
void ReplayLastVoice(TForm1&) {}
void StopLoopingEffect(TForm1&) {}
void OpenSaveScreen(TForm1&) {}
void OpenLoadScreen(TForm1&) {}
void QuickSave(TForm1&) {}
// Until the dialogs are connected, a question only takes input.
void AskYesNo(TForm1& f, const char*, int kind) { f.State.Mode.DialogKind = kind; }
void DialogMouseDown(TForm1& f, int, int, bool) { f.State.Mode.DialogKind = 0; }
void DialogMouseMove(TForm1&, int, int) {}
void ReturnToTitle(TForm1&) {}
void OpenSettings(TForm1&) {}
bool SimpleSettingsOpen(const TForm1&) { return false; }
void SimpleSettingsMouseDown(TForm1&, int, int, bool) {}
void SimpleSettingsMouseMove(TForm1&, int, int) {}
void SimpleSettingsMouseUp(TForm1&, int, int) {}
void MapMouseDown(TForm1&, int, int, bool) {}
void MapMouseMove(TForm1&, int, int) {}
void CgViewerMouseDown(TForm1&, int, int, bool) {}
void CgViewerMouseMove(TForm1&, int, int) {}
void RecollectionMouseDown(TForm1&, int, int, bool) {}
void RecollectionMouseMove(TForm1&, int, int) {}
void RecollectionMouseUp(TForm1&, int, int) {}
int32_t RunScriptEditor(TForm1&, int32_t offset) { return offset; }
void ShowVariableEditor(TForm1&) {}
bool RunScriptSelector(TForm1&, std::string&) { return false; }

}  // namespace zk
