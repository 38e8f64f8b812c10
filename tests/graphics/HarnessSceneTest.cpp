// A small game built in the test and played by the main window on the
// headless platform, as the harness plays it: scripts draw a solid colour,
// a background, two characters with masks and an overlay; the screen at the
// end is the screenshot. A click from an events file cuts a transition.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/StateDump.h"
#include "core/TForm1.h"
#include "platform/headless/Headless.h"
#include "resources/GameBuilder.h"
#include "GraphicsFixture.h"

namespace zk {
namespace {

std::filesystem::path MakeTempDir() {
  char pattern[] = "/tmp/zk-scene-XXXXXX";
  return mkdtemp(pattern) ? std::filesystem::path(pattern) : std::filesystem::path();
}

// A sprite of one grey with its mask, opaque on the left half only.
void AddCharacter(GameBuilder& b, const std::string& name, uint8_t grey) {
  std::string error;
  Bitmap mask = Solid(100, 200, 0, 0, 0);
  for (int y = 0; y < 200; ++y) std::memset(mask.Row(y), 255, 150);
  ASSERT_TRUE(b.AddPicture(name, Solid(100, 200, grey, grey, grey), error)) << error;
  ASSERT_TRUE(b.AddPicture("M" + name.substr(1), mask, error)) << error;
}

// One run of the main window on its own headless platform.
struct Session {
  platform::HeadlessClock clock;
  platform::HeadlessDisplay display;
  platform::HeadlessUi ui;
  platform::Platform plat{&clock, &display, &ui, true};
  std::unique_ptr<TForm1> form;

  Bgr Screen(int x, int y) {
    const uint8_t* p = display.Frame() + (y * 800 + x) * 3;
    return {p[0], p[1], p[2]};
  }
};

class HarnessScene : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = MakeTempDir();
    home_ = MakeTempDir();
    ASSERT_FALSE(game_.empty());
    ASSERT_FALSE(home_.empty());
  }
  void TearDown() override {
    std::filesystem::remove_all(game_);
    std::filesystem::remove_all(home_);
  }

  void BuildGame(const std::string& mainScript) {
    GameBuilder b;
    std::string error;
    ASSERT_TRUE(b.AddScript("_config", "TITLE:scene\nMAKER_REG:Zelkor\\Tests\nGAME_ID:SCENE\n", error)) << error;
    ASSERT_TRUE(b.AddScript("main", mainScript, error)) << error;
    ASSERT_TRUE(b.AddPicture("ABG01", Solid(800, 600, 10, 20, 30), error)) << error;
    AddCharacter(b, "BA01", 200);
    AddCharacter(b, "BB01", 100);
    Bitmap overlay = Solid(200, 100, 255, 255, 255);  // colour left, opacity right
    for (int y = 0; y < 100; ++y) std::memset(overlay.Row(y), 60, 300);
    ASSERT_TRUE(b.AddPicture("OV01", overlay, error)) << error;
    ASSERT_TRUE(b.Write(game_.string(), error)) << error;
  }

  // Plays the game until it ends or waits for the player, with the events of
  // an events file.
  void Play(Session& run, const std::string& events) {
    std::vector<platform::TimedEvent> timed;
    std::string error;
    ASSERT_TRUE(platform::ParseEventScript(events, timed, error)) << error;
    run.clock.AddEvents(timed);
    RunConfig config;
    config.GameDir = game_.string();
    config.SaveDir = home_.string();
    config.ConfigDir = home_.string();
    run.form = std::make_unique<TForm1>(run.plat, config);
    run.form->FormCreate();
    ASSERT_EQ(run.form->FatalError, "");
    LoopLimits limits;
    limits.UntilIdle = true;
    limits.RunMs = 60000;
    run.form->Run(limits);
  }

  std::filesystem::path game_, home_;
};

TEST_F(HarnessScene, ColoursBackgroundCharactersAndOverlayMakeTheScreenshot) {
  BuildGame(
      "@gameinit\n"
      "@gra S80G 2\n"
      "@gra ABG01 6\n"
      "@spr BA01,BB01,9\n"
      "@calc S020=1\n"
      "@ovr OV01,0,300,40\n");
  Session run;
  Play(run, "");
  const Bgr background{10, 20, 30};
  struct Probe {
    int x, y;
    Bgr colour;
  } probes[] = {
      {0, 0, background},          {799, 599, background},
      {200, 150, {199, 199, 199}},  // first character, x 250: opaque left half
      {249, 199, {199, 199, 199}}, {252, 150, background},  // its transparent half
      {200, 200, background},                               // below it
      {500, 150, {99, 99, 99}},    // second character, x 550
      {300, 40, {59, 59, 59}},     // the overlay over the background
      {310, 120, {59, 59, 59}},    // and over the first character (drawn after it)
      {399, 139, {59, 59, 59}},    {400, 40, background}, {300, 140, background},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(run.Screen(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;
  const std::string dump = DumpStateJson(*run.form);
  EXPECT_NE(dump.find("\"background\":\"ABG01\""), std::string::npos);
  EXPECT_NE(dump.find("\"characters\":[\"BA01\",\"BB01\"]"), std::string::npos);
}

TEST_F(HarnessScene, AClickDuringTransitionOneEndsItWithS019) {
  BuildGame("@gra S000\n@gra SFFF 1\n");
  Session full;
  Play(full, "");
  EXPECT_EQ(full.form->State.Vars.S(kSysSleepCut), 0);

  Session cut;
  Play(cut, "# a click while the blinds run\n100 click 400 300\n");
  EXPECT_EQ(cut.form->State.Vars.S(kSysSleepCut), 1);
  EXPECT_LT(cut.clock.NowMs(), full.clock.NowMs());
  EXPECT_EQ(cut.Screen(0, 0), (Bgr{240, 240, 240}));
  EXPECT_EQ(cut.Screen(799, 599), (Bgr{240, 240, 240}));
}

}  // namespace
}  // namespace zk
