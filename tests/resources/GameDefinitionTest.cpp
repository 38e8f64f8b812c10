#include "resources/GameDefinition.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

// Lines joined with the zero bytes that end them in a script entry.
std::vector<uint8_t> Lines(std::initializer_list<std::string_view> lines) {
  std::vector<uint8_t> out;
  for (std::string_view l : lines) {
    out.insert(out.end(), l.begin(), l.end());
    out.push_back(0);
  }
  return out;
}

GameDefinition Parse(std::initializer_list<std::string_view> lines,
                     std::vector<ConfigProblem>* problems = nullptr) {
  GameDefinition def;
  ParseGameDefinition(Lines(lines), def, problems);
  return def;
}

TEST(GameDefinition, KnowsEveryKey) {
  const auto& keys = GameDefinitionKeys();
  EXPECT_EQ(keys.size(), 73u);
  // Every key can be set without a complaint.
  std::vector<uint8_t> text;
  for (std::string_view k : keys) {
    std::string line = std::string(k) + ":1,2,3,4";
    if (k == "NAME") line = "NAME:1,x,FFF";
    text.insert(text.end(), line.begin(), line.end());
    text.push_back(0);
  }
  // Plain integer keys do not take a list: give those a single number.
  GameDefinition def;
  std::vector<ConfigProblem> problems;
  ParseGameDefinition(text, def, &problems);
  for (const ConfigProblem& p : problems)
    EXPECT_NE(p.Message.find("\"1,2,3,4\""), std::string::npos) << p.Message;
  EXPECT_EQ(def.CFG_CLOSE, (ConfigRect{1, 2, 3, 4}));
  EXPECT_EQ(def.CFG_VOL3, (std::array<int32_t, 2>{1, 2}));
  EXPECT_EQ(def.CFG_GRA[1], "2");
  EXPECT_EQ(def.TITLE, "1,2,3,4");
  EXPECT_EQ(def.TXW_SIZE_X, 0);  // rejected: not a single integer
}

TEST(GameDefinition, ReadsLinesAsDocumented) {
  std::vector<ConfigProblem> problems;
  const GameDefinition def = Parse(
      {
          "TITLE:My Game: Part Two",  // everything after the first ':'
          "txw_ofs_x:12",             // keys in any case; values as written
          "GAME_ID:Demo",
          "; TXW_OFS_Y:99",           // comment even with a key in it
          "* TXW_OFS_Y:98",
          "",
          " TXW_SIZE_X:5",            // a blank before the key: not recognised
          "UNKNOWN_KEY:whatever",
          "TXW_OFS_X:-7",             // a later line overrides
          "FONT_NAME:ＭＳ 明朝",
          "CFG_GRA:cfg_base,cfg_hi",
          "CFG_WM_WIN:10,20,110,40",
          "CFG_VOL_BAR:300",  // a missing field reads as 0
          "ZKD_GRA: 2 ",      // blanks around a number are allowed
          "end",
          "TXW_SIZE_Y:600",  // after END: ignored
      },
      &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(def.TITLE, "My Game: Part Two");
  EXPECT_EQ(def.GAME_ID, "Demo");
  EXPECT_EQ(def.TXW_OFS_X, -7);
  EXPECT_EQ(def.TXW_OFS_Y, 0);
  EXPECT_EQ(def.TXW_SIZE_X, 0);
  EXPECT_EQ(def.TXW_SIZE_Y, 0);
  EXPECT_EQ(def.FONT_NAME, "ＭＳ 明朝");
  EXPECT_EQ(def.CFG_GRA[0], "cfg_base");
  EXPECT_EQ(def.CFG_GRA[1], "cfg_hi");
  EXPECT_EQ(def.CFG_WM_WIN, (ConfigRect{10, 20, 110, 40}));
  EXPECT_EQ(def.CFG_VOL_BAR, (std::array<int32_t, 2>{300, 0}));
  EXPECT_EQ(def.ZKD_GRA, 2);
  const ArchiveGates gates = GatesOf(def);
  EXPECT_EQ(gates.Gra, 2);
}

TEST(GameDefinition, SpeakerTableAndColourDigits) {
  const GameDefinition def = Parse({
      "NAME:3,Alice,F80",
      "NAME:4,Bob,",
      "NAME:5,Carol,ggg",
      "NAME:6,Dave,0a9",
      "NAME:7,Eve,XYZ",
      "NAME:60,Ignored,FFF",
      "NAME:-1,Ignored,FFF",
  });
  EXPECT_TRUE(def.NAME[3].Defined);
  EXPECT_EQ(def.NAME[3].Name, "Alice");
  EXPECT_EQ(def.NAME[3].Colour, 0x0080F0u);  // red F0, green 80, blue 00; red low
  EXPECT_EQ(def.NAME[4].Colour, 0xFFFFFFu);  // empty colour: white
  EXPECT_EQ(def.NAME[5].Colour, 0xFFFFFFu);  // G in either case: 255
  EXPECT_EQ(def.NAME[6].Colour, 0x90A000u);
  EXPECT_EQ(def.NAME[7].Colour, 0u);         // anything else: 0
  EXPECT_FALSE(def.NAME[0].Defined);
  for (const Speaker& s : def.NAME) EXPECT_NE(s.Name, "Ignored");
  EXPECT_EQ(ColourDigit('9'), 0x90);
  EXPECT_EQ(ColourDigit('c'), 0xC0);
  EXPECT_EQ(ColourDigit('G'), 0xFF);
  EXPECT_EQ(ColourDigit('H'), 0);
}

TEST(GameDefinition, MalformedNumbersAreReportedWithTheirLine) {
  struct Case {
    std::string_view line;
    const char* key;
  };
  const Case cases[] = {
      {"TXW_OFS_X:12px", "TXW_OFS_X"},
      {"TXW_OFS_X:0x10", "TXW_OFS_X"},
      {"TXW_OFS_X:99999999999", "TXW_OFS_X"},
      {"TXW_OFS_X:-", "TXW_OFS_X"},
      {"CFG_CLOSE:1,2,three,4", "CFG_CLOSE"},
      {"NAME:x,Alice,FFF", "NAME"},
  };
  for (const Case& c : cases) {
    GameDefinition def;
    def.TXW_OFS_X = 5;
    std::vector<ConfigProblem> problems;
    EXPECT_FALSE(ParseGameDefinition(Lines({"TITLE:t", "; note", c.line}), def, &problems));
    ASSERT_EQ(problems.size(), 1u) << c.line;
    EXPECT_EQ(problems[0].Line, 3);
    EXPECT_NE(problems[0].Message.find("line 3"), std::string::npos);
    EXPECT_NE(problems[0].Message.find(c.key), std::string::npos) << problems[0].Message;
    EXPECT_EQ(def.TXW_OFS_X, 5);  // the field keeps its value
    EXPECT_EQ(def.CFG_CLOSE, ConfigRect{});
    EXPECT_FALSE(def.NAME[0].Defined);
  }
}

TEST(GameDefinition, OddEntriesParseSafely) {
  // No trailing zero on the last line, stray zeros, bytes of every value.
  std::vector<uint8_t> text = {'T', 'I', 'T', 'L', 'E', ':', 'a'};
  GameDefinition def;
  EXPECT_TRUE(ParseGameDefinition(text, def));
  EXPECT_EQ(def.TITLE, "a");
  std::vector<uint8_t> all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<uint8_t>(i));
  all.insert(all.end(), {':', 0, 0, 0});
  ParseGameDefinition(all, def);
  EXPECT_TRUE(ParseGameDefinition({}, def));
}

}  // namespace
}  // namespace zk
