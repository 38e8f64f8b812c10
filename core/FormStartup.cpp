// The main window's start-up: the sequence of resources/Startup.h run over
// the window's state, with the steps other subsystems own at their places.
#include "core/FormStartup.h"

#include "audio/Audio.h"
#include "core/Input.h"
#include "core/TForm1.h"
#include "effects/Effects.h"
#include "core/StartupSequence.h"
#include "services/Services.h"
#include "text/Backlog.h"
#include "text/MessageWindow.h"

namespace zk {

namespace {

// Each step calls the subsystem that owns it (a do-nothing stub until that
// subsystem lands).
class FormStartupHost : public StartupHost {
 public:
  explicit FormStartupHost(TForm1& f) : f_(f) {}
  void DetectSoundOutput() override { zk::DetectSoundOutput(f_); }
  void CreateMessageFont() override { zk::CreateMessageFont(f_); }
  void CreateSurfaces() override {}       // graphics: the work bitmaps, paint box filled black
  void LoadNamePlates() override { zk::LoadNamePlates(f_); }
  void CreateMessageWindow() override { zk::CreateMessageWindow(f_); }
  void LoadSystemPictures() override {  // choices, glyphs, quick buttons, click-wait mark
    LoadTextPictures(f_);
    LoadQuickButtonPictures(f_, f_.Text.Frame);
  }
  void ResetSceneState() override {}      // script: per-scene state
  void LoadGlobalData() override { zk::LoadGlobalData(f_); }
  void ClearBacklog() override { zk::ClearBacklog(f_); }
  void RefreshMenus() override { RefreshMenuStates(f_); }
  void InitTextColour() override { zk::InitTextColour(f_); }
  void InitEffects() override { zk::InitEffects(f_); }
  void ClearObjects() override { zk::ClearObjects(f_); }
  void PrepareCgViewer() override { zk::PrepareCgViewer(f_); }
  void PrepareRecollection() override { zk::PrepareRecollection(f_); }
  void PrepareMapScreen() override { zk::PrepareMapScreen(f_); }

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

}  // namespace zk
