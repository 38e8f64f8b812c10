// What the game services offer the engine: save data and the save/load
// screens, the in-game dialogs and title return, recollection, the CG viewer,
// the map screen with the date plate, name entry and the settings. Until they
// land, services/ServicesStubs.cpp keeps do-nothing versions.
#pragma once
#include <cstdint>
#include <string_view>

#include "script/Command.h"

namespace zk {

class TForm1;
enum class DialogKind : int32_t;

// ---- Start-up steps
void LoadGlobalData(TForm1& f);       // merge the global save file
void PrepareCgViewer(TForm1& f);      // the CG list of "VIEW_1"
void PrepareRecollection(TForm1& f);  // the recollection data
void PrepareMapScreen(TForm1& f);     // the map screen pictures

// ---- Save data
void WriteGlobalSave(TForm1& f);
void OpenSaveScreen(TForm1& f);
void OpenLoadScreen(TForm1& f);
void QuickSave(TForm1& f);

// ---- In-game dialogs and title return
void AskYesNo(TForm1& f, const char* questionUtf8, DialogKind kind);
void DialogMouseDown(TForm1& f, int x, int y, bool right);
void DialogMouseMove(TForm1& f, int x, int y);
void ReturnToTitle(TForm1& f);

// ---- Settings
void OpenSettings(TForm1& f);
bool SimpleSettingsOpen(const TForm1& f);
void SimpleSettingsMouseDown(TForm1& f, int x, int y, bool right);
void SimpleSettingsMouseMove(TForm1& f, int x, int y);
void SimpleSettingsMouseUp(TForm1& f, int x, int y);

// ---- Game screens: recollection, CG viewer, map
void RecollectionTick(TForm1& f);
void CgViewerIdle(TForm1& f);
void MapIdle(TForm1& f);
void MapPaint(TForm1& f);
void MapMouseDown(TForm1& f, int x, int y, bool right);
void MapMouseMove(TForm1& f, int x, int y);
void CgViewerMouseDown(TForm1& f, int x, int y, bool right);
void CgViewerMouseMove(TForm1& f, int x, int y);
void RecollectionMouseDown(TForm1& f, int x, int y, bool right);
void RecollectionMouseMove(TForm1& f, int x, int y);
void RecollectionMouseUp(TForm1& f, int x, int y);

// ---- What the scene and the interpreter report
// A shown picture's CG bit (when it is in the CG list), the play counter of
// every layout request, and the date panel of the scene build.
void MarkCgSeen(TForm1& f, std::string_view pictureName);
void CountPlay(TForm1& f);
void DrawDatePanel(TForm1& f);
void EndReplay(TForm1& f);  // `end`/`exit`/`vend` in a replayed scene
void MarkSceneSeen(TForm1& f, std::string_view scriptName);  // scene bit of a listed script
int CgListCount(TForm1& f);                                  // entries of the CG list
void RunNameEntry(TForm1& f);                                // the modal name-entry dialog

// ---- Script commands of the services
StepResult CmdLoad(TForm1& f, char* line, char* args);
StepResult CmdSave(TForm1& f, char* line, char* args);
StepResult CmdMap(TForm1& f, char* line, char* args);
StepResult CmdViewer(TForm1& f, char* line, char* args);
StepResult CmdKaisou(TForm1& f, char* line, char* args);

}  // namespace zk
