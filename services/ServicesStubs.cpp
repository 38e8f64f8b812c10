// Do-nothing versions of the game services (services/Services.h) until they
// land. Each command returns the step result it will have; the dispatcher
// stops skip and auto mode before the ones that open a screen.
#include "core/TForm1.h"
#include "services/Services.h"

namespace zk {

void LoadGlobalData(TForm1&) {}
void PrepareCgViewer(TForm1&) {}
void PrepareRecollection(TForm1&) {}
void PrepareMapScreen(TForm1&) {}

void WriteGlobalSave(TForm1&) {}
void OpenSaveScreen(TForm1&) {}
void OpenLoadScreen(TForm1&) {}
void QuickSave(TForm1&) {}

// Until the dialogs are connected, a question only takes input.
void AskYesNo(TForm1& f, const char*, DialogKind kind) {
  f.State.Mode.DialogKind = kind;
}
void DialogMouseDown(TForm1& f, int, int, bool) {
  f.State.Mode.DialogKind = DialogKind::None;
}
void DialogMouseMove(TForm1&, int, int) {}
void ReturnToTitle(TForm1&) {}

void OpenSettings(TForm1&) {}
bool SimpleSettingsOpen(const TForm1&) {
  return false;
}
void SimpleSettingsMouseDown(TForm1&, int, int, bool) {}
void SimpleSettingsMouseMove(TForm1&, int, int) {}
void SimpleSettingsMouseUp(TForm1&, int, int) {}

void RecollectionTick(TForm1&) {}
void CgViewerIdle(TForm1&) {}
void MapIdle(TForm1&) {}
void MapPaint(TForm1&) {}
void MapMouseDown(TForm1&, int, int, bool) {}
void MapMouseMove(TForm1&, int, int) {}
void CgViewerMouseDown(TForm1&, int, int, bool) {}
void CgViewerMouseMove(TForm1&, int, int) {}
void RecollectionMouseDown(TForm1&, int, int, bool) {}
void RecollectionMouseMove(TForm1&, int, int) {}
void RecollectionMouseUp(TForm1&, int, int) {}

void MarkCgSeen(TForm1&, std::string_view) {}
void CountPlay(TForm1&) {}
void DrawDatePanel(TForm1&) {}
void EndReplay(TForm1&) {}
void MarkSceneSeen(TForm1&, std::string_view) {}
int CgListCount(TForm1&) {
  return 0;
}
void RunNameEntry(TForm1&) {}

StepResult CmdLoad(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdSave(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdMap(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdViewer(TForm1&, char*, char*) { return kStepEnd; }
StepResult CmdKaisou(TForm1&, char*, char*) {
  return kStepEnd;
}

}  // namespace zk
