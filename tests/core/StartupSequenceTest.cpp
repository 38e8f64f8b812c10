#include "core/StartupSequence.h"

#include <gtest/gtest.h>

#include "resources/GameBuilder.h"
#include "base/Sjis.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {

using test::TempDir;

class RecordingUi : public platform::Ui {
 public:
  platform::MsgResult MessageBox(const std::string& text, const std::string& caption,
                                 platform::MsgButtons, platform::MsgIcon icon) override {
    shown.push_back({caption, text});
    icons.push_back(icon);
    return platform::MsgResult::Ok;
  }
  int PopupMenu(const std::vector<platform::MenuItem>&, int, int) override { return -1; }
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<platform::MsgIcon> icons;
};

class FakeDisplay : public platform::Display {
 public:
  uint8_t* Frame() override { return frame; }
  void Present() override {}
  bool SetFullScreen(int) override { return true; }
  void SetToolbarVisible(bool) override {}
  void SetToolbarEnabled(bool, bool, bool, bool, bool) override {}
  void SetTitle(std::string_view t) override { title = t; }
  void SetShakeOffset(int, int) override {}
  void GetDesktopSize(int& w, int& h) override { w = width, h = height; }
  void GetWindowPos(int& l, int& t) override { l = left, t = top; }
  void SetWindowPos(int l, int t) override { left = l, top = t; }
  void WarpPointer(int, int) override {}
  uint8_t frame[4] = {};
  std::string title;
  int width = 1920, height = 1080, left = -1, top = -1;
};

// Records the order of the steps other subsystems own, and what start-up had
// prepared when each ran.
class RecordingHost : public StartupHost {
 public:
  explicit RecordingHost(GameData& d) : data(d) {}
  void DetectSoundOutput() override { steps.push_back("sound"); }
  void CreateMessageFont() override { steps.push_back("font:" + data.Settings.FontName); }
  void CreateSurfaces() override { steps.push_back("surfaces"); }
  void LoadNamePlates() override {
    steps.push_back(data.Arc.Pictures().VolumeCount() == 3 ? "plates" : "plates-too-early");
  }
  void CreateMessageWindow() override { steps.push_back("window"); }
  void LoadSystemPictures() override { steps.push_back("pictures"); }
  void ResetSceneState() override { steps.push_back("scene"); }
  void LoadGlobalData() override { steps.push_back("global"); }
  void ClearBacklog() override { steps.push_back("backlog"); }
  void RefreshMenus() override { steps.push_back("menus"); }
  void InitTextColour() override { steps.push_back("colour"); }
  void InitEffects() override { steps.push_back("effects"); }
  void ClearObjects() override { steps.push_back("objects"); }
  void PrepareCgViewer() override { steps.push_back("cg"); }
  void PrepareRecollection() override { steps.push_back("recollection"); }
  void PrepareMapScreen() override { steps.push_back("map"); }
  GameData& data;
  std::vector<std::string> steps;
};

const char kConfig[] =
    "TITLE:Demo Game\n"
    "MAKER_REG:Software\\Maker\\Demo\n"
    "GAME_ID:demo\n"
    "DEFAULT_NAME:山田\n"
    "DEFAULT_NAME2:太郎\n"
    "FONT_NAME:ＭＳ 明朝\n"
    "VOLUME1:-300\nVOLUME2:-400\nVOLUME3:-500\nVOLUME4:-600\n"
    "TXW_COLOR_R:10\nTXW_COLOR_G:20\nTXW_COLOR_B:30\nTXW_ALPHA:128\nTXW_ALPHA2:200\n"
    "CFG_GRA:cfg_a,cfg_b\n";

class Startup : public ::testing::Test {
 protected:
  void BuildGame(const std::string& config) {
    GameBuilder b;
    std::string error;
    ASSERT_TRUE(b.AddScript("_config", config, error)) << error;
    ASSERT_TRUE(b.AddScript("main", "hello\n", error)) << error;
    ASSERT_TRUE(b.Write(game_.Path(), error)) << error;
  }
  std::string Run(platform::Display* display = nullptr) {
    ctx_.GameDir = game_.Path();
    ctx_.ConfigRoot = config_.Path();
    ctx_.Ui = &ui_;
    ctx_.Display = display ? display : &display_;
    return RunStartup(ctx_, {*vars_, mode_, shell_, player_}, data_, store_, host_);
  }
  std::string IniPath() const { return config_.Path() + "/Software/Maker/Demo/demo.ini"; }

  TempDir game_, config_;
  StartupContext ctx_;
  RecordingUi ui_;
  FakeDisplay display_;
  std::unique_ptr<Banks> vars_ = std::make_unique<Banks>();
  ModeState mode_;
  ShellState shell_;
  PlayerSettings player_;
  GameData data_;
  std::unique_ptr<platform::SettingsStore> store_;
  RecordingHost host_{data_};
};

TEST_F(Startup, FirstRunUsesTheDefaults) {
  BuildGame(kConfig);
  vars_->S(150) = 9;
  vars_->V(5) = 9;
  vars_->F.Set(3);
  EXPECT_EQ(Run(), "");
  EXPECT_TRUE(ui_.shown.empty());
  EXPECT_FALSE(mode_.QuitRequested);
  EXPECT_TRUE(mode_.StartPending);
  EXPECT_EQ(data_.SettingsPath, IniPath());
  EXPECT_FALSE(std::filesystem::exists(IniPath()));  // nothing written at start-up
  EXPECT_EQ(display_.title, "Demo Game");
  // The window is centred: (1920 - 808) / 2, (1080 - 624) / 2.
  EXPECT_EQ(display_.left, 556);
  EXPECT_EQ(display_.top, 228);

  const PersistedSettings& s = data_.Settings;
  EXPECT_EQ(s.CDDir, "NULL");
  EXPECT_EQ(s.BGM_ENA, 1);
  EXPECT_EQ(s.SE_ENA, 1);
  EXPECT_EQ(s.FONTSIZE, 19);
  EXPECT_EQ(s.FontName, Sjis("ＭＳ 明朝"));
  EXPECT_EQ(s.Vol1, -300);
  EXPECT_EQ(s.Vol4, -600);
  EXPECT_EQ(s.TXBG_B, 30);
  EXPECT_EQ(s.TXBG_A2, 200);
  EXPECT_EQ(s.CONFIG_MODE, 0);
  EXPECT_EQ(shell_.DisplayMode, DisplayMode::Window);
  EXPECT_TRUE(player_.TextSpeedOn);
  EXPECT_TRUE(player_.SkipReadOnly);
  EXPECT_TRUE(player_.StopAtChoice);
  EXPECT_TRUE(player_.SkipCutsEffects);

  // Player names are the game's defaults, so S006 is 0.
  EXPECT_STREQ(vars_->GetString(0), Sjis("山田").c_str());
  EXPECT_STREQ(vars_->GetString(1), Sjis("太郎").c_str());
  EXPECT_EQ(vars_->S(6), 0);
  // Initial system cells and cleared banks.
  const std::pair<int, int32_t> cells[] = {{0, 3},   {5, 0},    {8, 8},    {20, 250},
                                           {21, 550}, {27, 5},  {32, 520}, {33, 30},
                                           {37, 0xFFFFFF}, {50, 1}, {51, 1}, {80, 400},
                                           {81, 250}, {89, 700}, {90, 0},  {150, 0}};
  for (auto [cell, value] : cells) EXPECT_EQ(vars_->S(cell), value) << "S" << cell;
  EXPECT_EQ(vars_->V(5), 0);
  EXPECT_FALSE(vars_->F.Test(3));

  const std::vector<std::string> order = {
      "sound", "font:" + Sjis("ＭＳ 明朝"), "surfaces", "plates", "window", "pictures",
      "scene", "global", "backlog", "menus", "colour", "effects", "objects", "cg",
      "recollection", "map"};
  EXPECT_EQ(host_.steps, order);
}

TEST_F(Startup, StoredValuesOverrideTheDefaults) {
  BuildGame(kConfig);
  const std::string ini =
      "[demo]\nPlayerName=佐藤\nVol1=-3000\nGV03=7\nClear=2\nSeen=0\nDelay=1\nSMode=1\n"
      "Left=10\nTop=20\nSE_LVL2=3\nCONFIG_MODE=1\n";
  ASSERT_TRUE(WriteFileAtomic(IniPath(), ini.data(), ini.size()));
  Run();
  EXPECT_EQ(data_.Settings.Vol1, -3000);
  EXPECT_EQ(vars_->G(3), 7);
  EXPECT_EQ(vars_->S(100), 2);
  EXPECT_FALSE(player_.SkipReadOnly);
  EXPECT_FALSE(player_.TextSpeedOn);
  EXPECT_EQ(player_.SeLevel[2], 3);
  EXPECT_EQ(shell_.DisplayMode, DisplayMode::FullScreen);
  EXPECT_EQ(display_.left, 10);
  EXPECT_EQ(display_.top, 20);
  EXPECT_STREQ(vars_->GetString(0), Sjis("佐藤").c_str());
  EXPECT_EQ(vars_->S(6), 1);  // a name differs from the default

  // Written at once, read back by the next start.
  data_.Settings.PlayerName2 = Sjis("花子");
  ASSERT_TRUE(WriteSetting(*store_, data_.Settings, "PlayerName2"));
  data_.Settings.FONTSIZE = 24;
  ASSERT_TRUE(WriteSetting(*store_, data_.Settings, "FONTSIZE"));
  EXPECT_FALSE(WriteSetting(*store_, data_.Settings, "NoSuchValue"));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(IniPath(), text));
  EXPECT_NE(text.find("PlayerName2=花子"), std::string::npos);
  PersistedSettings again;
  ReadPersistedSettings(*store_, data_.Def, {}, again);
  EXPECT_EQ(again.PlayerName2, Sjis("花子"));
  EXPECT_EQ(again.FONTSIZE, 24);
}

TEST_F(Startup, SmallScreensAndMissingConfigPicturesChangeModes) {
  BuildGame("MAKER_REG:m\nGAME_ID:g\nCFG_GRA:only_one\n");
  display_.width = 600;
  display_.height = 480;
  Run();
  EXPECT_EQ(shell_.DisplayMode, DisplayMode::Borderless);
  EXPECT_EQ(data_.Settings.CONFIG_MODE, 1);
}

TEST_F(Startup, FallbackFolderComesFromTheSettings) {
  BuildGame(std::string(kConfig) + "ZKD_GRA:1\n");
  TempDir cd;
  GameBuilder pics;
  Bitmap b;
  b.Resize(2, 2);
  std::string error;
  ASSERT_TRUE(pics.AddPicture("far_away", b, error));
  ASSERT_TRUE(pics.Write(cd.Path(), error));
  const std::string ini = "[demo]\nCDDir=" + cd.Path() + "/\n";
  ASSERT_TRUE(WriteFileAtomic(IniPath(), ini.data(), ini.size()));
  Run();
  EXPECT_TRUE(data_.Arc.Pictures().Find("far_away"));
}

TEST_F(Startup, MissingGameDataAsksToQuit) {
  const std::string message = Run();
  ASSERT_EQ(ui_.shown.size(), 1u);
  EXPECT_EQ(ui_.shown[0].first, "Error!");
  EXPECT_EQ(ui_.shown[0].second, "ゲームデータを読み込めません。");
  EXPECT_EQ(ui_.icons[0], platform::MsgIcon::Error);
  EXPECT_EQ(message, ui_.shown[0].second);
  EXPECT_TRUE(mode_.QuitRequested);
  EXPECT_TRUE(mode_.StartPending);  // the first idle pass closes the window
}

TEST_F(Startup, MalformedDefinitionNamesTheLine) {
  BuildGame("TITLE:x\nTXW_OFS_X:80x\n");
  const std::string message = Run();
  ASSERT_EQ(ui_.shown.size(), 1u);
  EXPECT_EQ(message.rfind("ゲームデータを読み込めません。", 0), 0u);
  EXPECT_NE(message.find("line 2: TXW_OFS_X"), std::string::npos) << message;
  EXPECT_TRUE(mode_.QuitRequested);
}

}  // namespace
}  // namespace zk
