// The developer panel's watch list and its settings file, and the panel as
// a platform shows it: snapshots out, actions back through the pump.
#include <cstdio>
#include <cstdlib>
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

TEST_F(DevPanelTest, TraceNamesTheLineJustRunWhileTraceModeIsOn) {
  std::snprintf(s.Interp.LineBuffer, sizeof s.Interp.LineBuffer, "*shake 1,20");
  s.Interp.LineStart = 12;
  EXPECT_EQ(form.Dev.TraceLine(form), "");
  s.Shell.TraceMode = true;
  EXPECT_EQ(form.Dev.TraceLine(form), "Trace 12: shake n[,n[,n]]");
  std::snprintf(s.Interp.LineBuffer, sizeof s.Interp.LineBuffer, "~");
  EXPECT_EQ(form.Dev.TraceLine(form), "Trace 12: page end, voice continues");
}

// A developer build whose platform draws the panel.
struct DevPanelViewTest : DevPanelTest {
  platform::HeadlessDevPanel view{clock};
  using Action = platform::DevPanelAction;

  void SetUp() override {
    DevPanelTest::SetUp();
    plat.devPanel = &view;
  }
  const platform::DevPanelSnapshot& Showing() const { return view.Showing(); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const platform::DevPanelRow& r : Showing().watches) names.push_back(r.name);
    return names;
  }
  void Act(Action a, int value = 0, std::string text = {}) {
    view.Act(a, value, std::move(text));
    clock.Pump();
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) form.Timer1Timer();
  }
};

TEST_F(DevPanelViewTest, FirstTickShowsTheSavedWatchesAndActionsEditTheList) {
  const std::string path = dir + "/dbg.ini";
  {
    platform::IniSettingsStore dbg(path, "DBG");
    dbg.WriteInt("WatchCount", 1);
    dbg.WriteText("Watch00", "s026");
    dbg.WriteInt("DBG_EDIT_ENA", 1);
  }
  form.Dev.SetFilePath(path);
  EXPECT_EQ(view.Shows(), 0);
  Ticks(1);
  ASSERT_EQ(view.Shows(), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"S026"}));
  EXPECT_TRUE(Showing().editEnabled);
  EXPECT_FALSE(Showing().realTimeWatch);
  Ticks(40);  // nothing changed: nothing sent
  EXPECT_EQ(view.Shows(), 1);

  // Typing, then "Add ->".
  Act(Action::EditText, 0, "v1");
  EXPECT_EQ(Showing().edit1, "v1");
  Act(Action::AddWatch);
  EXPECT_EQ(Names(), (std::vector<std::string>{"S026", "V1"}));
  Act(Action::EditText, 0, "");
  Act(Action::AddWatch);  // an empty box adds nothing
  EXPECT_EQ(Showing().watches.size(), 2u);

  // "Del" removes the selected row; a row outside the list selects nothing.
  Act(Action::SelectWatch, 5);
  EXPECT_EQ(Showing().selected, -1);
  Act(Action::DeleteWatch);
  EXPECT_EQ(Showing().watches.size(), 2u);
  Act(Action::SelectWatch, 0);
  EXPECT_EQ(Showing().selected, 0);
  Act(Action::DeleteWatch);
  EXPECT_EQ(Names(), (std::vector<std::string>{"V1"}));
  EXPECT_EQ(Showing().selected, -1);

  platform::IniSettingsStore dbg(path, "DBG");
  EXPECT_EQ(dbg.ReadInt("WatchCount", -1), 1);
  EXPECT_EQ(dbg.ReadText("Watch00", ""), "V1");
  // Unknown action codes are ignored.
  platform::Event bad = platform::MakeDevPanelEvent(Action::None);
  bad.button = 99;
  const int shows = view.Shows();
  form.HandleEvent(bad);
  EXPECT_EQ(view.Shows(), shows);
}

TEST_F(DevPanelViewTest, ValuesFollowTheVariablesEvery16TicksWhileWatching) {
  form.Dev.SetFilePath("");
  Act(Action::EditText, 0, "S030");
  Act(Action::AddWatch);
  Act(Action::EditText, 0, "F007");
  Act(Action::AddWatch);
  s.Vars.S(30) = 5;
  Ticks(16);  // not watching yet
  EXPECT_EQ(Showing().watches[0].value, "");

  Act(Action::RealTimeWatch, 1);
  EXPECT_TRUE(Showing().realTimeWatch);
  Ticks(15);
  EXPECT_EQ(Showing().watches[0].value, "");
  Ticks(1);
  EXPECT_EQ(Showing().watches[0].value, "5");
  EXPECT_EQ(Showing().watches[1].value, "0");
  const int shows = view.Shows();
  Ticks(32);  // same values: the panel is left alone
  EXPECT_EQ(view.Shows(), shows);
  s.Vars.S(30) = -1;
  s.Vars.F.Set(7);
  Ticks(16);
  EXPECT_EQ(Showing().watches[0].value, "-1");
  EXPECT_EQ(Showing().watches[1].value, "1");

  Act(Action::RealTimeWatch, 0);
  s.Vars.S(30) = 9;
  Ticks(32);
  EXPECT_EQ(Showing().watches[0].value, "-1");
}

TEST_F(DevPanelViewTest, ScriptEditorNeedsTheEditSwitchAndTraceModeFollowsItsBox) {
  form.Dev.SetFilePath("");
  // The editor switches the interpreter off and on again around itself, so
  // a stopped interpreter shows whether it ran.
  s.Interp.ScriptRunning = false;
  Act(Action::ScriptEditor);
  EXPECT_FALSE(s.Interp.ScriptRunning);
  Act(Action::EditEnable, 1);
  EXPECT_TRUE(Showing().editEnabled);
  s.Mode.EffectRunning = true;  // not from inside an effect's loop
  Act(Action::ScriptEditor);
  EXPECT_FALSE(s.Interp.ScriptRunning);
  s.Mode.EffectRunning = false;
  Act(Action::ScriptEditor);
  EXPECT_TRUE(s.Interp.ScriptRunning);

  Act(Action::TraceMode, 1);
  EXPECT_TRUE(s.Shell.TraceMode);
  EXPECT_TRUE(Showing().traceMode);
  Act(Action::TraceMode, 0);
  EXPECT_FALSE(s.Shell.TraceMode);
  EXPECT_FALSE(Showing().traceMode);
}

TEST_F(DevPanelViewTest, KeyDOpensTheMenuOnlyWithoutAPanel) {
  const char* old = std::getenv("ZK_DEVELOPER");
  const std::string saved = old ? old : "";
  setenv("ZK_DEVELOPER", "1", 1);
  form.Dev.SetFilePath("");
  for (bool panel : {true, false}) {
    plat.devPanel = panel ? &view : nullptr;
    s.Shell.TraceMode = false;
    ui.QueueAnswer("3");  // the menu's "Trace Mode" row
    form.FormKeyPress('d');
    EXPECT_EQ(s.Shell.TraceMode, !panel) << (panel ? "with" : "without") << " a panel";
  }
  if (old)
    setenv("ZK_DEVELOPER", saved.c_str(), 1);
  else
    unsetenv("ZK_DEVELOPER");
}

}  // namespace
}  // namespace zk
