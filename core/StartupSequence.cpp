#include "core/StartupSequence.h"

#include <cstring>
#include <filesystem>

#include "base/Files.h"
#include "base/Sjis.h"

namespace zk {

namespace {

// Copies Shift-JIS text into a string variable: at most 63 bytes, keeping a
// double-byte character whole.
void CopyString(char (&dst)[kStringSize], const std::string& text) {
  size_t len = 0;
  while (len < text.size() && text[len] != '\0' && len < kStringSize - 1) {
    const size_t step = IsSjisLead(static_cast<unsigned char>(text[len])) ? 2 : 1;
    if (len + step > kStringSize - 1 || len + step > text.size()) break;
    len += step;
  }
  std::memcpy(dst, text.data(), len);
  std::memset(dst + len, 0, kStringSize - len);
}


}  // namespace

// ============================================================ [SECTION] The start-up sequence

std::string RunStartup(StartupContext& ctx, StartupTarget target, GameData& data,
                       std::unique_ptr<platform::SettingsStore>& store, StartupHost& host) {
  Banks& vars = target.Vars;
  std::string message;
  auto fail = [&](const std::string& detail) {
    message = kGameDataError;
    if (!detail.empty()) message += "\n" + detail;
    if (ctx.Ui)
      ctx.Ui->MessageBox(message, "Error!", platform::MsgButtons::Ok, platform::MsgIcon::Error);
    target.Mode.QuitRequested = true;
  };

  // The system cells and the sound device.
  for (int i = 0; i < kSysMemoryOnly; ++i) vars.S(i) = 0;
  host.DetectSoundOutput();

  // The script archives.
  const bool found = FileExists((std::filesystem::path(ctx.GameDir) / "zk_data.zlk").string());
  if (!found) fail("");
  data.Arc.OpenScripts(ctx.GameDir);

  // The game definition.
  data.Def = GameDefinition{};
  std::vector<uint8_t> config;
  if (data.Arc.ReadScript("_config", config)) {
    std::vector<ConfigProblem> problems;
    if (!ParseGameDefinition(config, data.Def, &problems) && !target.Mode.QuitRequested) {
      std::string detail = "_config:";
      for (const ConfigProblem& p : problems) detail += "\n" + p.Message;
      fail(detail);
    }
  }

  // The settings store, the fallback folder and the caption.
  data.SettingsPath.clear();
  if (!store) {
    const std::string root = ctx.ConfigRoot.empty() ? DefaultConfigRoot() : ctx.ConfigRoot;
    data.SettingsPath = SettingsFilePath(root, data.Def.MAKER_REG, data.Def.GAME_ID);
    store = std::make_unique<platform::IniSettingsStore>(data.SettingsPath,
                                                         SafePathPart(data.Def.GAME_ID));
  }
  data.Settings.CDDir = store->ReadText("CDDir", "NULL");
  if (ctx.Display) ctx.Display->SetTitle(SjisToUtf8(data.Def.TITLE));

  // Every other setting.
  SettingsEnvironment env;
  if (ctx.Display) ctx.Display->GetDesktopSize(env.ScreenWidth, env.ScreenHeight);
  PersistedSettings& s = data.Settings;
  ReadPersistedSettings(*store, data.Def, env, s);
  if (ctx.Display) ctx.Display->SetWindowPos(s.Left, s.Top);
  target.Shell.DisplayMode = static_cast<DisplayMode>(s.SMode);
  target.Player.TextSpeedOn = s.Delay == 0;
  target.Player.GMode = s.GMode;
  target.Player.SkipReadOnly = s.Seen != 0;
  target.Player.StopAtChoice = s.BreakonSelect != 0;
  target.Player.RightClickAction = static_cast<RightClickAction>(s.RC_MODE);
  target.Player.WheelAction = static_cast<WheelAction>(s.WHEEL_MODE);
  target.Player.SwapCtrlShift = s.CS_SWAP != 0;
  target.Player.SkipCutsEffects = s.EFX_CUT != 0;
  target.Player.KeepVoiceOnClick = s.CV_THROUGH != 0;
  const int32_t groups[5] = {s.SE0, s.SE1, s.SE2, s.SE3, s.SE4};
  const int32_t levels[5] = {s.SE_LVL0, s.SE_LVL1, s.SE_LVL2, s.SE_LVL3, s.SE_LVL4};
  for (int i = 0; i < 5; ++i) {
    target.Player.SeGroup[i] = groups[i];
    target.Player.SeLevel[i] = levels[i];
  }
  for (int i = 0; i < 10; ++i) vars.G(i) = s.GV[i];
  vars.S(kSysDatePanel) = s.DatePanel;
  vars.S(kSysWindowStyle) = s.TXWStyle;

  // Font, surfaces, the other archives, name plates, message window, system
  // pictures.
  host.CreateMessageFont();
  host.CreateSurfaces();
  data.Arc.OpenOthers(s.CDDir, GatesOf(data.Def));
  host.LoadNamePlates();
  host.CreateMessageWindow();
  host.LoadSystemPictures();

  // Per-scene state, banks, global data, backlog.
  host.ResetSceneState();
  for (int i = 0; i < 1000; ++i) vars.V(i) = 0;
  vars.F.ClearAll();
  vars.T.ClearAll();
  vars.S(kSysClearCount) = s.Clear;
  host.LoadGlobalData();
  host.ClearBacklog();

  // The initial system cells.
  vars.S(kSysSavePermission) = 3;
  vars.S(kSysMusicPlaying) = 0;
  vars.S(kSysStartupMark) = 8;
  vars.S(kSysOverlayOrder) = 250;
  vars.S(kSysOverlayX) = 550;
  vars.S(kSysLastAutoDelay) = 5;
  vars.S(kSysManpuX) = 520;
  vars.S(kSysManpuY) = 30;
  vars.S(kSysTextColour) = 0xFFFFFF;
  host.RefreshMenus();
  host.InitTextColour();
  // The character positions the effect initialisation also sets.
  const int32_t xs[10] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
  for (int i = 0; i < 10; ++i) {
    vars.S(kSysPositions + i) = xs[i];
    vars.S(kSysPositionsY + i) = 0;
  }
  host.InitEffects();
  for (int i = kSysFullScreenText; i <= kSysChoiceReplayIndex; ++i) vars.S(i) = 0;
  vars.S(kSysManpu) = 0;

  // String variables and the player names, then the other screens.
  for (auto& str : vars.Strings) std::memset(str, 0, kStringSize);
  CopyString(vars.Strings[0], s.PlayerName);
  CopyString(vars.Strings[1], s.PlayerName2);
  vars.S(kSysSetNameResult) =
      (s.PlayerName != data.Def.DEFAULT_NAME || s.PlayerName2 != data.Def.DEFAULT_NAME2) ? 1 : 0;
  host.ClearObjects();
  host.PrepareCgViewer();
  host.PrepareRecollection();
  host.PrepareMapScreen();

  target.Mode.StartPending = true;
  return message;
}

}  // namespace zk
