// Plays the bundled demo from start to end through the harness, clicking
// through every wait, and checks what the player would have seen.
#include <gtest/gtest.h>

#include <string>

#include "Run.h"
#include "base/Bitmap.h"
#include "resources/Png.h"

namespace zk::test {
namespace {

// Mean brightness and the share of bright pixels inside a rectangle.
struct AreaLook {
  double mean = 0;
  double bright = 0;
  double red = 0, green = 0, blue = 0;
};

AreaLook Look(const Bitmap& b, int x0, int y0, int x1, int y1) {
  AreaLook a;
  int n = 0, bright = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const uint8_t* p = b.Row(y) + 3 * x;
      int v = (p[0] + p[1] + p[2]) / 3;
      a.blue += p[0];
      a.green += p[1];
      a.red += p[2];
      a.mean += v;
      bright += v > 150;
      ++n;
    }
  a.mean /= n;
  a.red /= n;
  a.green /= n;
  a.blue /= n;
  a.bright = double(bright) / n;
  return a;
}

TEST(Demo, PlaysToTheEndWithClicks) {
  TempDir dir;
  std::string events = "5900 screenshot " + (dir / "page2.png") + "\n";
  for (int i = 1; i <= 30; ++i) events += std::to_string(i * 3000) + " click 300 300\n";
  WriteText(dir / "events.txt", events);
  std::string out;
  int rc = RunCommand(BinaryDir() + "/zelkor --headless --until-idle --events " +
                          (dir / "events.txt") + " --config-dir " + dir.Path() + " --save-dir " +
                          dir.Path() + " --dump-state " + (dir / "end.json") + " --screenshot " +
                          (dir / "end.png"),
                      &out);
  ASSERT_EQ(rc, 0) << out;

  std::string json;
  ASSERT_TRUE(ReadText(dir / "end.json", json));
  EXPECT_NE(json.find("\"ScriptFinished\":true"), std::string::npos) << json.substr(0, 200);
  EXPECT_NE(json.find("\"LoadedScript\":\"main\""), std::string::npos);
  // The backlog holds the speakers and the last lines of the story.
  for (const char* line : {"\"ひかり\"", "\"奏\"", "「流れ星のこと？　ニュースでもやってたね」", "\"おわり\""})
    EXPECT_NE(json.find(line), std::string::npos) << line;

  // Page 2: ひかり speaks; her plate is drawn and her line is visible.
  std::string png;
  ASSERT_TRUE(ReadText(dir / "page2.png", png));
  Bitmap shot;
  ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), shot));
  ASSERT_EQ(shot.Width, 800);
  // The name plate (pink) at the window's top left, over a dark blue window.
  AreaLook plate = Look(shot, 30, 450, 180, 472);
  AreaLook window = Look(shot, 300, 560, 600, 590);
  EXPECT_GT(plate.red, plate.blue + 20) << "no name plate";
  EXPECT_LT(window.mean, 90) << "the message window is not drawn";
  // Text on the first text row: bright glyph pixels over the dark window.
  AreaLook text = Look(shot, 40, 482, 560, 516);
  EXPECT_GT(text.bright, 0.05) << "no text in the window";

  // The end: the opening picture again, with the message window closed (no
  // empty window over a black screen).
  ASSERT_TRUE(ReadText(dir / "end.png", png));
  Bitmap end;
  ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), end));
  AreaLook sky = Look(end, 0, 300, 800, 400);
  AreaLook ground = Look(end, 300, 560, 600, 590);
  EXPECT_GT(sky.red, sky.blue + 40) << "the ending picture is not shown";
  EXPECT_GT(ground.mean, 90) << "a message window is left over the ending";
}

}  // namespace
}  // namespace zk::test
