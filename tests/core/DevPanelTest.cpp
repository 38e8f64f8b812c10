// The developer panel's watch list and its settings file.
#include <filesystem>

#include "FormFixture.h"
#include "core/DevPanel.h"
#include "platform/SettingsStore.h"

namespace zk {
namespace {

struct DevPanelTest : FormTest {
  std::string dir;
  void SetUp() override {
    FormTest::SetUp();
    dir = (std::filesystem::temp_directory_path() /
           ("zk_devpanel_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
              .string();
    std::filesystem::remove_all(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(DevPanelTest, WatchValuesOfTheFourBanks) {
  s.Vars.E.Set(999);
  s.Vars.F.Set(12);
  s.Vars.S(26) = -7;
  s.Vars.V(999) = 123456;
  struct Case {
    const char* Name;
    bool Known;
    const char* Value;
  } cases[] = {
      {"E999", true, "1"},         {"E998", true, "0"},
      {"F012", true, "1"},         {"F12", true, "1"},
      {"S026", true, "-7"},        {"V999", true, "123456"},
      {"V1000", false, ""},        {"E1024", false, ""},
      {"G1", false, ""},           {"S", false, ""},
      {"S-1", false, ""},          {"S12X", false, ""},
      {"V99999999999", false, ""},
  };
  for (const Case& c : cases) {
    std::string value;
    EXPECT_EQ(WatchValue(s, c.Name, value), c.Known) << c.Name;
    if (c.Known) {
      EXPECT_EQ(value, c.Value) << c.Name;
    }
  }
}

TEST_F(DevPanelTest, WatchListAndEditSwitchLiveInTheDbgSection) {
  const std::string path = dir + "/dbg.ini";
  form.Dev.SetFilePath(path);
  form.Dev.Edit1 = "s026";
  form.Dev.Button4Click(form);
  form.Dev.Edit1 = "v001";
  form.Dev.Button4Click(form);
  form.Dev.Edit1 = "";
  form.Dev.Button4Click(form);  // nothing to add
  form.Dev.CheckBox3Click(form, true);

  platform::IniSettingsStore dbg(path, "DBG");
  EXPECT_EQ(dbg.ReadInt("WatchCount", -1), 2);
  EXPECT_EQ(dbg.ReadText("Watch00", ""), "S026");
  EXPECT_EQ(dbg.ReadText("Watch01", ""), "V001");
  EXPECT_EQ(dbg.ReadInt("DBG_EDIT_ENA", -1), 1);

  // Another run reads them back; deleting an item is written too.
  TForm1 again{plat, RunConfig{}};
  again.Dev.SetFilePath(path);
  again.Dev.Load(again);
  ASSERT_EQ(again.Dev.Watches.size(), 2u);
  EXPECT_TRUE(again.Dev.EditEnabled);
  again.Dev.Selected = 0;
  again.Dev.Button5Click(again);
  EXPECT_EQ(dbg.ReadInt("WatchCount", -1), 1);
  EXPECT_EQ(dbg.ReadText("Watch00", ""), "V001");
}

TEST_F(DevPanelTest, RealTimeWatcherRefreshesEvery16Ticks) {
  form.Dev.SetFilePath("");
  form.Dev.Edit1 = "S030";
  form.Dev.Button4Click(form);
  form.Dev.CheckBox1Click(form, true);
  s.Vars.S(30) = 5;
  // The tick counter goes 1, 2, ...: the 16th tick refreshes.
  for (int i = 0; i < 15; ++i) form.Timer1Timer();
  EXPECT_EQ(form.Dev.Watches[0].Value, "");
  form.Timer1Timer();
  EXPECT_EQ(form.Dev.Watches[0].Value, "5");
}

TEST_F(DevPanelTest, ScriptEditorNeedsTheEditSwitchAndTraceModeIsAFlag) {
  form.Dev.SetFilePath("");
  s.Interp.ScriptRunning = true;
  form.Dev.Button1Click(form);  // off: nothing happens
  EXPECT_TRUE(s.Interp.ScriptRunning);
  form.Dev.CheckBox2Click(form, true);
  EXPECT_TRUE(s.Shell.TraceMode);
  form.Dev.CheckBox2Click(form, false);
  EXPECT_FALSE(s.Shell.TraceMode);
}

}  // namespace
}  // namespace zk
