// The start-up sequence: everything prepared before the first idle pass, in
// its order, over the engine state it resets, with the steps other
// subsystems own called through StartupHost.
#pragma once
#include <memory>
#include <string>

#include "core/EngineState.h"
#include "platform/Display.h"
#include "platform/SettingsStore.h"
#include "platform/Ui.h"
#include "resources/Settings.h"

namespace zk {

// Steps that belong to other subsystems, called at their place in the
// sequence. The main window implements the ones that exist.
class StartupHost {
 public:
  virtual ~StartupHost() = default;
  virtual void DetectSoundOutput() {}
  virtual void CreateMessageFont() {}
  virtual void CreateSurfaces() {}
  virtual void LoadNamePlates() {}
  virtual void CreateMessageWindow() {}
  virtual void LoadSystemPictures() {}
  virtual void ResetSceneState() {}
  virtual void LoadGlobalData() {}
  virtual void ClearBacklog() {}
  virtual void RefreshMenus() {}
  virtual void InitTextColour() {}
  virtual void InitEffects() {}
  virtual void ClearObjects() {}
  virtual void PrepareCgViewer() {}
  virtual void PrepareRecollection() {}
  virtual void PrepareMapScreen() {}
};

struct StartupContext {
  std::string GameDir;     // holds the archives
  std::string ConfigRoot;  // empty: DefaultConfigRoot()
  platform::Ui* Ui = nullptr;
  platform::Display* Display = nullptr;
};

// The engine state start-up resets.
struct StartupTarget {
  Banks& Vars;
  ModeState& Mode;
  ShellState& Shell;
  PlayerSettings& Player;
  static StartupTarget Of(EngineState& s) { return {s.Vars, s.Mode, s.Shell, s.Settings}; }
};

// The whole start-up sequence (the caller seeds the random generator first).
// store receives the settings store: the game's settings file, unless the
// caller put a store there already. A missing "zk_data.zlk" or a malformed
// game definition shows "ゲームデータを読み込めません。" (caption "Error!"),
// sets QuitRequested and returns the message; the sequence goes on with what
// it has. Sets StartPending.
std::string RunStartup(StartupContext& ctx, StartupTarget target, GameData& data,
                       std::unique_ptr<platform::SettingsStore>& store, StartupHost& host);

// The message of a failed start-up.
inline constexpr const char* kGameDataError = "ゲームデータを読み込めません。";

}  // namespace zk
