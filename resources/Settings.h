// The player's persisted settings, where they live, and the game data that
// start-up builds (archives, game definition, settings).
//
// [SECTION] Persisted settings
// [SECTION] Where the settings live
// [SECTION] What start-up builds
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SettingsStore.h"
#include "resources/Archive.h"
#include "resources/GameDefinition.h"

namespace zk {

// ============================================================ [SECTION] Persisted settings

// Every persisted value by its stored name. Texts the engine uses as
// Shift-JIS (font and player names) are Shift-JIS here and UTF-8 in the file.
struct PersistedSettings {
  std::string CDDir = "NULL";  // fallback data folder prefix; "NULL" names none
  int32_t Left = 0, Top = 0;   // window position
  int32_t BGM_ENA = 1, SE_ENA = 1;
  int32_t Delay = 0;  // 0 text at the normal pace, 1 at once
  int32_t GMode = 0;  // non-zero: fast transitions
  int32_t SMode = 0;  // 0 window, 1 full screen, 2 borderless full window
  int32_t Clear = 0;  // times the game was completed
  int32_t Seen = 1;
  int32_t BreakonSelect = 1;
  int32_t MemorySaveMode = 0;
  std::string FontName;
  int32_t DirectSoundGlobal = 0, AnimQuality = 0;
  int32_t RC_MODE = 0, WHEEL_MODE = 0, CS_SWAP = 0, EFX_CUT = 1;
  int32_t CONFIG_MODE = 0;
  int32_t DatePanel = 1, TXWStyle = 1;
  int32_t CV_THROUGH = 0, CV1 = 1, CV2 = 1;
  int32_t SE0 = 1, SE1 = 1, SE2 = 1, SE3 = 1, SE4 = 1;
  int32_t Vol1 = 0, Vol2 = 0, Vol3 = 0, Vol4 = 0;  // attenuation: 0 full, -3000 quietest
  int32_t FONTAA = 0, FONTSIZE = 19, FONTBold = 0;
  std::string PlayerName, PlayerName2;
  int32_t LastSaveSlot = 0;
  std::array<int32_t, 10> GV{};  // "GV00" .. "GV09": the G bank
  int32_t TXBG_R = 0, TXBG_G = 0, TXBG_B = 0, TXBG_A = 0, TXBG_A2 = 0;
  int32_t SE_LVL0 = 0, SE_LVL1 = 0, SE_LVL2 = 0, SE_LVL3 = 0, SE_LVL4 = 0;
};

// What some defaults depend on besides the game definition.
struct SettingsEnvironment {
  int ScreenWidth = 1920, ScreenHeight = 1080;
  int WindowWidth = 808, WindowHeight = 624;
};

// The stored names of every value, in the order they are read.
std::vector<std::string> PersistedSettingNames();

// Reads every value except "CDDir" from the store, with the defaults of the
// game definition; applies the full-screen rule of small screens ("SMode" 0
// on a screen at most 600 pixels wide becomes 2) and the dialog rule of
// "CONFIG_MODE" (1 when either CFG_GRA picture name is empty).
void ReadPersistedSettings(platform::SettingsStore& store, const GameDefinition& def,
                           const SettingsEnvironment& env, PersistedSettings& out);
// Writes the current value of one setting (by its stored name) to the store.
// False for an unknown name.
bool WriteSetting(platform::SettingsStore& store, const PersistedSettings& settings,
                  std::string_view name);

// ============================================================ [SECTION] Where the settings live

// Shift-JIS text as one UTF-8 path part: slashes and backslashes become "_".
std::string SafePathPart(std::string_view sjis);

// "$XDG_CONFIG_HOME/zelkor" (or "~/.config/zelkor").
std::string DefaultConfigRoot();
// root/<MAKER_REG>/<GAME_ID>.ini: backslashes in MAKER_REG become folders;
// empty, "." and ".." parts are dropped so game data cannot point outside
// the root. Both texts are Shift-JIS and become UTF-8 in the path.
std::string SettingsFilePath(const std::string& configRoot, std::string_view makerReg,
                             std::string_view gameId);

// ============================================================ [SECTION] What start-up builds

// Everything start-up builds that later parts of the engine read.
struct GameData {
  Archives Arc;
  GameDefinition Def;
  PersistedSettings Settings;
  std::string SettingsPath;  // the settings file start-up opened; empty for a given store
};

}  // namespace zk
