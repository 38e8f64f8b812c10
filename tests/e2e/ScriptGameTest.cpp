// A small game of several scripts, built with zktool and played headless:
// calls, blocks, expressions, strings and text reach the state dump.
#include <gtest/gtest.h>

#include "Run.h"
#include "base/Sjis.h"

namespace zk::test {
namespace {

const char kConfig[] =
    "TITLE:Script test\n"
    "MAKER_REG:Software\\ZelkorTest\n"
    "GAME_ID:SCRIPTTEST\n"
    "TXW_OFS_X:0\nTXW_OFS_Y:440\nTXW_SIZE_X:800\nTXW_SIZE_Y:160\n"
    "TX_OFS_X:40\nTX_OFS_Y:6\nTX_PITCH_X:12\nTX_PITCH_Y:36\nMOJI_MAX_X:54\nMOJI_MAX_Y:4\n"
    "TX2_OFS_X:64\nTX2_OFS_Y:48\nTX2_PITCH_X:12\nTX2_PITCH_Y:36\nMOJI_MAX2_X:56\nMOJI_MAX2_Y:14\n"
    "END\n";

// main computes, calls into two other scripts (one of them through a label),
// picks blocks with cjmp and switch, and finally waits inside a called script.
const char kMain[] =
    "; the start script\n"
    "!V001=2+3*4\n"
    "*string 0 太郎\n"
    "*call sub:entry\n"
    ">＄０\n"
    "「V001は[?V001]」\n"
    "*cjmp V002\n"
    "{\n"
    "!V010=100\n"
    "{\n"
    "!V010=200\n"
    "}\n"
    "*switch\n"
    "{(V001=20&F005=1)\n"
    "!V011=1\n"
    "{\n"
    "!V011=2\n"
    "}\n"
    "*if (V011=1) *call last\n"
    "!V012=1\n";

const char kSub[] =
    "!V099=1\n"
    ":entry\n"
    "*calc V002 = v001 / 7 - 1 ; S026 = 0\n"
    "*calc V002=V002/2\n"
    "!F005=1\n"
    "*end\n";

const char kLast[] =
    "!V013=V001_&6\n"
    "\\\n";

// The value of a key at the top level of the dump (the text up to the next
// key), enough for these checks.
std::string Field(const std::string& json, const std::string& key) {
  const std::string tag = "\"" + key + "\":";
  const size_t at = json.find(tag);
  if (at == std::string::npos) return "<missing " + key + ">";
  size_t end = at + tag.size();
  int depth = 0;
  bool quoted = false;
  for (; end < json.size(); ++end) {
    const char c = json[end];
    if (quoted) {
      if (c == '\\')
        ++end;
      else if (c == '"')
        quoted = false;
      continue;
    }
    if (c == '"')
      quoted = true;
    else if (c == '[' || c == '{')
      ++depth;
    else if (c == ']' || c == '}') {
      if (depth == 0) break;
      --depth;
    } else if (c == ',' && depth == 0) {
      break;
    }
  }
  return json.substr(at + tag.size(), end - at - tag.size());
}

TEST(ScriptGame, CallsBlocksAndExpressionsReachTheStateDump) {
  TempDir dir;
  RunCommand("mkdir -p " + (dir / "src") + " " + (dir / "game"));
  WriteText(dir / "src/_config.s", kConfig);
  WriteText(dir / "src/main.s", kMain);
  WriteText(dir / "src/sub.s", kSub);
  WriteText(dir / "src/last.s", kLast);
  std::string out;
  ASSERT_EQ(
      RunCommand(BinaryDir() + "/zktool build-game " + (dir / "src") + " " + (dir / "game"), &out),
      0)
      << out;
  ASSERT_EQ(RunCommand(BinaryDir() + "/zelkor --headless --until-idle --dump-state " +
                           (dir / "state.json") + " --config-dir " + (dir / "config") +
                           " --save-dir " + (dir / "save") + " " + (dir / "game"),
                       &out),
            0)
      << out;
  std::string json;
  ASSERT_TRUE(ReadText(dir / "state.json", json));

  const std::string v = Field(json, "V");
  // V001 = 20 (no precedence); V002 = (20/7-1)/2 = 0; cjmp 0 ran the first
  // block; the switch took its first case; sub was entered at its label.
  EXPECT_EQ(v.substr(0, 10), "[0,20,0,0,") << v.substr(0, 40);
  std::vector<int> values;
  for (size_t i = 1; i < v.size();) {
    const size_t comma = v.find_first_of(",]", i);
    values.push_back(std::stoi(v.substr(i, comma - i)));
    i = comma + 1;
  }
  ASSERT_EQ(values.size(), 1000u);
  EXPECT_EQ(values[10], 100);
  EXPECT_EQ(values[11], 1);
  EXPECT_EQ(values[12], 0);  // main waits inside "last"
  EXPECT_EQ(values[13], 4);  // 20 _& 6
  EXPECT_EQ(values[99], 0);  // skipped by the label
  EXPECT_EQ(Field(json, "F"), "[5]");
  EXPECT_EQ(Field(json, "strings").rfind("[\"太郎\",\"\",", 0), 0u) << Field(json, "strings");
  EXPECT_EQ(Field(json, "CallDepth"), "1");
  // The return offset is that of the line after the if, in Shift-JIS bytes.
  const std::string mainText(kMain);
  std::string before;
  ASSERT_TRUE(Utf8ToSjis(mainText.substr(0, mainText.find("!V012")), before));
  EXPECT_EQ(Field(json, "CallStack"),
            "[{\"script\":\"main\",\"offset\":" + std::to_string(before.size()) + "}]");
  EXPECT_EQ(Field(json, "CurrentScript"), "\"last\"");
  EXPECT_EQ(Field(json, "ClickWait"), "1");
  const std::string page = Field(json, "page");
  EXPECT_EQ(page.rfind("[\"太郎\",\"「V001は20」\",\"\",", 0), 0u) << page;
  EXPECT_EQ(Field(json, "backlog"), "[\"太郎\",\"「V001は20」\",\"\"]");
}

}  // namespace
}  // namespace zk::test
