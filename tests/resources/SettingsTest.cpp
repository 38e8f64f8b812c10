#include "resources/Settings.h"

#include <gtest/gtest.h>

#include "resources/GameBuilder.h"
#include "base/Sjis.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {


TEST(SettingsPath, KeyPathBecomesFoldersInsideTheRoot) {
  struct Case {
    std::string_view makerReg, gameId;
    std::string path;
  };
  const Case cases[] = {
      {"Software\\Maker\\Game", "id", "/root/Software/Maker/Game/id.ini"},
      {"Software/Maker", "id", "/root/Software/Maker/id.ini"},
      {"..\\..\\etc\\.", "a/b", "/root/etc/a_b.ini"},
      {"", "", "/root/_.ini"},
      {"\\\\x\\\\", "..", "/root/x/_.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsFilePath("/root", c.makerReg, c.gameId), c.path);
  // Shift-JIS parts become UTF-8; a second byte 0x5C is not a separator.
  EXPECT_EQ(SettingsFilePath("/r", Sjis("表示\\ソフト"), Sjis("ゲーム")), "/r/表示/ソフト/ゲーム.ini");
}

TEST(PersistedSettings, NamesAreTheStoredOnes) {
  const std::vector<std::string> names = PersistedSettingNames();
  for (const char* n : {"CDDir", "Left", "Top", "BGM_ENA", "SE_ENA", "Delay", "GMode", "SMode",
                        "Clear", "Seen", "BreakonSelect", "MemorySaveMode", "FontName",
                        "DirectSoundGlobal", "AnimQuality", "RC_MODE", "WHEEL_MODE", "CS_SWAP",
                        "EFX_CUT", "CONFIG_MODE", "DatePanel", "TXWStyle", "CV_THROUGH", "CV1",
                        "CV2", "SE0", "SE4", "Vol1", "Vol4", "FONTAA", "FONTSIZE", "FONTBold",
                        "PlayerName", "PlayerName2", "LastSaveSlot", "GV00", "GV09", "TXBG_R",
                        "TXBG_G", "TXBG_B", "TXBG_A", "TXBG_A2"})
    EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n;
}

}  // namespace
}  // namespace zk
