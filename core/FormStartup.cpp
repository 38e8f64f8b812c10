// The main window's start-up: the sequence of resources/Startup.h run over
// the window's state, with the steps other subsystems own at their places,
// and the game-data operations the engine reaches through core/Hooks.h.
#include "core/Hooks.h"
#include "core/TForm1.h"
#include "resources/Startup.h"
#include "text/MessageWindow.h"

namespace zk {

namespace {

// Each step is the call site of the subsystem named beside it; a subsystem
// fills its step in when it lands.
class FormStartupHost : public StartupHost {
 public:
  explicit FormStartupHost(TForm1& f) : f_(f) {}
  void DetectSoundOutput() override {}    // audio: whether a wave output device exists
  void CreateMessageFont() override { zk::CreateMessageFont(f_); }
  void CreateSurfaces() override {}       // graphics: the work bitmaps, paint box filled black
  void LoadNamePlates() override { zk::LoadNamePlates(f_); }
  void CreateMessageWindow() override { zk::CreateMessageWindow(f_); }
  void LoadSystemPictures() override {  // choices, glyphs, quick buttons, click-wait mark
    LoadTextPictures(f_);
    LoadQuickButtonPictures(f_, f_.Text.Frame);
  }
  void ResetSceneState() override {}      // script: per-scene state
  void LoadGlobalData() override {}       // services: merge the global save file
  void ClearBacklog() override {}         // text: the backlog
  void RefreshMenus() override { RefreshMenuStates(f_); }
  void InitTextColour() override { zk::InitTextColour(f_); }
  void InitEffects() override {}          // effects: effect initialisation "INIT"
  void ClearObjects() override {}         // effects: the object table of `obj_`
  void PrepareCgViewer() override {}      // services: CG viewer section "VIEW_1"
  void PrepareRecollection() override {}  // services: recollection data
  void PrepareMapScreen() override {}     // services: map screen pictures

 private:
  TForm1& f_;
};

}  // namespace

void RunStartup(TForm1& f) {
  StartupContext ctx;
  ctx.GameDir = f.Config.GameDir;
  ctx.ConfigRoot = f.Config.ConfigDir;
  ctx.Ui = f.Plat.ui;
  ctx.Display = f.Plat.display;
  FormStartupHost host(f);
  const std::string message = RunStartup(ctx, StartupTarget::Of(f.State), f.Game, f.Settings, host);
  if (!message.empty()) f.FatalError = message;
}

bool ReadScriptEntry(TForm1& f, std::string_view upperName, std::vector<uint8_t>& out) {
  return f.Game.Arc.ReadScript(upperName, out);
}

void GameDefaultNames(TForm1& f, std::string& first, std::string& second) {
  first = f.Game.Def.DEFAULT_NAME;
  second = f.Game.Def.DEFAULT_NAME2;
}

}  // namespace zk
