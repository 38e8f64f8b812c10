// The command line and the headless harness, through the real program.
#include <gtest/gtest.h>

#include "Run.h"

namespace zk::test {
namespace {

std::string Zelkor() {
  return BinaryDir() + "/zelkor";
}

TEST(Harness, RunsOnTheVirtualClockAndWritesDumpAndScreenshot) {
  TempDir dir;
  WriteText(dir / "events.txt",
            "# time verb args\n"
            "100 move 10 10\n"
            "250 dump " +
                (dir / "mid.json") +
                "\n"
                "300 screenshot " +
                (dir / "mid.png") + "\n");
  std::string out;
  int rc = RunCommand(Zelkor() + " --headless --run-ms 1000 --events " + (dir / "events.txt") +
                          " --dump-state " + (dir / "s.json") + " --screenshot " + (dir / "s.png") +
                          " --config-dir " + dir.Path() + " --save-dir " + dir.Path(),
                      &out);
  // Without a game folder the bundled demo plays.
  EXPECT_EQ(rc, 0) << out;
  std::string json, mid, png;
  ASSERT_TRUE(ReadText(dir / "s.json", json)) << out;
  ASSERT_TRUE(ReadText(dir / "mid.json", mid)) << out;
  ASSERT_TRUE(ReadText(dir / "s.png", png)) << out;
  ASSERT_TRUE(ReadText(dir / "mid.png", png)) << out;
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_NE(mid.find("\"time_ms\":250"), std::string::npos) << mid.substr(0, 80);
  for (const char* key : {"\"V\":", "\"S\":", "\"G\":", "\"F\":", "\"strings\":", "\"ClickWait\":",
                          "\"CallStack\":", "\"backlog\":", "\"page\":"})
    EXPECT_NE(json.find(key), std::string::npos) << key;
}

TEST(Harness, MissingGameDataIsReportedAndTheGameStops) {
  TempDir dir;
  std::string out;
  int rc = RunCommand(Zelkor() + " --headless --run-ms 5000 --config-dir " + dir.Path() +
                          " --save-dir " + dir.Path() + " --dump-state " + (dir / "s.json") + " " +
                          (dir / "nogame"),
                      &out);
  EXPECT_EQ(rc, 3);
  EXPECT_NE(out.find("ゲームデータを読み込めません。"), std::string::npos) << out;
  std::string json;
  ASSERT_TRUE(ReadText(dir / "s.json", json));
  // The orderly close happens at the first idle pass, long before the limit.
  ASSERT_EQ(json.rfind("{\"time_ms\":", 0), 0u) << json.substr(0, 40);
  EXPECT_LE(std::stoi(json.substr(11)), 20) << json.substr(0, 40);
}

TEST(Harness, BadCommandLinesAndEventFilesExitWithTwo) {
  TempDir dir;
  WriteText(dir / "bad.txt", "10 click 5\n");
  struct Case {
    std::string args;
    std::string message;
  } cases[] = {
      {"--frobnicate", "unknown option --frobnicate"},
      {"--headless --run-ms soon", "--run-ms"},
      {"--headless --events " + (dir / "missing.txt"), "cannot read events file"},
      {"--headless --events " + (dir / "bad.txt"), "line 1"},
      {"--events " + (dir / "bad.txt"), "--events needs --headless"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(RunCommand(Zelkor() + " " + c.args, &out), 2) << c.args;
    EXPECT_NE(out.find(c.message), std::string::npos) << c.args << " → " << out;
  }
  std::string out;
  EXPECT_EQ(RunCommand(Zelkor() + " --version", &out), 0);
  EXPECT_NE(out.find("zelkor"), std::string::npos);
  EXPECT_EQ(RunCommand(Zelkor() + " --help", &out), 0);
  EXPECT_NE(out.find("--dump-state"), std::string::npos);
}

TEST(Harness, WithoutADisplayTheWindowedGameExitsWithFour) {
  TempDir dir;
  std::string out;
  // --run-ms ends a game that found a display after all.
  const int rc = RunCommand(
      "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=" + dir.Path() +
          " SDL_AUDIODRIVER=dummy " + Zelkor() + " --run-ms 3000 --config-dir " + dir.Path() +
          " --save-dir " + dir.Path(),
      &out);
  EXPECT_EQ(rc, 4) << out;
  EXPECT_NE(out.find("--headless"), std::string::npos) << out;
}

}  // namespace
}  // namespace zk::test
