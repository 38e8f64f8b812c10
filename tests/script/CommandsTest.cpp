#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "ScriptFixture.h"
#include "base/Bitmap.h"
#include "effects/Effects.h"
#include "script/CommandTable.h"
#include "script/Commands.h"
#include "script/Interpreter.h"

namespace zk::test {
namespace {

using Commands = ScriptTest;

TEST(CommandTable, KeywordsMatchInTableOrderWithoutCase) {
  struct Case {
    const char* text;     // after the prefix character
    const char* keyword;  // nullptr: no match
  } cases[] = {
      {"exitgame", "exitgame"},
      {"exit", "exit"},
      {"SELECT", "select"},
      {"selectx", "select"},
      {"IF (V001=1) x", "if "},
      {"if(V001=1)", nullptr},
      {"se SEH2ABC", "se "},
      {"seloop X", "seloop "},
      {"seoff", "seoff"},
      {"mark 5", "mark "},
      {"map X", "map"},
      {"bg_anim 3", "bg_anim"},
      {"bg X", "bg "},
      {"animq X", "anim"},
      {"obj_load", "obj_"},
      {"endroll", "end"},
      {"grb X", "grb "},
      {"gra", nullptr},
      {"", nullptr},
      {"frobnicate", nullptr},
      {"Sleep 30", "sleep "},
  };
  for (const Case& c : cases) {
    const int index = MatchCommand(c.text);
    if (!c.keyword) {
      EXPECT_EQ(index, -1) << c.text;
    } else {
      ASSERT_GE(index, 0) << c.text;
      EXPECT_STREQ(kCommandTable[index].Keyword, c.keyword) << c.text;
    }
  }
  std::set<std::string> keywords;
  for (const CommandInfo& c : kCommandTable) {
    EXPECT_TRUE(keywords.insert(c.Keyword).second) << c.Keyword;
    EXPECT_NE(c.Handler, nullptr) << c.Keyword;
  }
  EXPECT_EQ(keywords.size(), 64u);
  EXPECT_STREQ(kCommandTable[0].Keyword, "gra ");
  EXPECT_STREQ(kCommandTable[63].Keyword, "efxanim ");
  // Argument offsets, including those the commands document.
  const std::pair<const char*, int> offsets[] = {
      {"string ", 8}, {"seltree", 9}, {"map", 5},    {"bg_anim", 9}, {"anim", 6},  {"shake", 7},
      {"cjmp", 6},    {"ovr", 5},     {"viewer", 8}, {"obj_", 5},    {"sroll", 7}, {"effect", 8}};
  for (const auto& [keyword, offset] : offsets) {
    const int index = MatchCommand(keyword);
    ASSERT_GE(index, 0) << keyword;
    EXPECT_EQ(kCommandTable[index].ArgOffset, offset) << keyword;
  }
}

// Every shape is written in the notation: a sample argument built from it
// (each field word replaced by a value of its kind) fits it.
TEST(CommandTable, EveryCommandHasAShapeThatItsOwnSampleFits) {
  const std::pair<std::string, std::string> samples[] = {
      {"name", "X"}, {"expr", "V001+1"}, {"args", "s"}, {"text", "t u"}, {"n", "-5"}};
  for (const CommandInfo& c : kCommandTable) {
    ASSERT_NE(c.Shape, nullptr) << c.Keyword;
    std::string sample;
    for (const char* p = c.Shape; *p;) {
      if (*p == '[' || *p == ']') {
        ++p;
        continue;
      }
      bool word = false;
      for (const auto& [kind, value] : samples) {
        if (std::strncmp(p, kind.c_str(), kind.size()) != 0) continue;
        sample += value;
        p += kind.size();
        word = true;
        break;
      }
      if (!word) sample += *p++;
    }
    EXPECT_TRUE(FitsShape(c.Shape, sample)) << c.Keyword << " \"" << c.Shape << "\" " << sample;
  }
}

// The demo's command lines fit their shapes; lines a script author could get
// wrong do not.
TEST(CommandTable, ArgumentCheckAcceptsTheDemoAndFlagsMalformedLines) {
  // The source tree, from this file's place in it (tests/script/).
  const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path() / "../..";
  int demoCommands = 0;
  for (const auto& entry : std::filesystem::directory_iterator(source / "games/demo/scripts")) {
    std::ifstream file(entry.path());
    for (std::string line; std::getline(file, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || (line[0] != '*' && line[0] != '@')) continue;
      const int index = MatchCommand(line.c_str() + 1);
      if (index < 0) continue;
      ++demoCommands;
      EXPECT_TRUE(CommandArgumentsFit(index, line.c_str())) << entry.path() << ": " << line;
    }
  }
  EXPECT_GT(demoCommands, 0);
  struct Case {
    const char* line;
    bool fits;
  } cases[] = {
      {"*gra A_ROOM", true},
      {"*spr ", true},
      {"*shake 1,20,50", true},
      {"*shake 1 , 20", true},
      {"*string 3 two words", true},
      {"*call SCRIPT:LABEL", true},
      {"*ptset 0,0,V001,10,400,300", true},
      {"*direct PIC", true},
      {"*sleep -30", true},
      {"*music abc", false},        // a number expected
      {"*sleep ", false},           // the number is missing
      {"*select now", false},       // no argument expected
      {"*endroll", false},          // matches "end", which takes nothing
      {"*shake 1,x", false},        // the second field is not a number
      {"*shake1,20", false},        // the byte after the keyword is skipped
      {"*shake 1,2,3,4", false},    // one field too many
      {"*ptset 1,2,3", false},      // fields missing
      {"*cv two words", false},     // a name is one word
      {"*call ", false},            // the name is missing
      {"*direct PIC,10,x", false},  // an optional field of the wrong kind
  };
  for (const Case& c : cases) {
    const int index = MatchCommand(c.line + 1);
    ASSERT_GE(index, 0) << c.line;
    EXPECT_EQ(CommandArgumentsFit(index, c.line), c.fits) << c.line;
  }
}

TEST_F(Commands, ShortCommandLinesReadAnEmptyArgument) {
  // "*cjmp" ends before its argument offset; the bytes after its NUL are left
  // over from the longer line before and must not be read as the argument.
  S(kSysSetNameResult) = 1;
  Load(";zzzzzzzzzzzz\n*cjmp\n{\n!V001=1\n{\n!V002=1\n}");
  RunToEnd();
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 1);  // S006 selected block 1
  EXPECT_EQ(in.ErrorCount, 0);
}

TEST_F(Commands, SleepCountsIdlePassesOrWaitsForAClick) {
  struct Case {
    const char* line;
    int skip, autoDelay;
    int32_t frames;
    bool stepEnds;
  } cases[] = {
      {"*sleep 29", 0, 0, -1, true},
      {"*sleep 300", 0, 0, 10, true},
      {"*sleep 300", 1, 0, 0, false},
      {"*sleep 300", 0, 4, 0, false},
  };
  for (const Case& c : cases) {
    s.Mode.SkipMode = static_cast<SkipMode>(c.skip);
    s.SetAutoDelay(c.autoDelay);
    s.Wait.SleepFrames = 0;
    V(1) = 0;
    Load(std::string(c.line) + "\n!V001=1");
    Step();
    EXPECT_EQ(s.Wait.SleepFrames, c.frames) << c.line;
    EXPECT_EQ(V(1) == 0, c.stepEnds) << c.line;
  }
}

TEST_F(Commands, MarkStopsSkippingAtUnreadTextOnly) {
  s.Settings.SkipReadOnly = true;
  s.Mode.SkipMode = SkipMode::On;
  Load("*mark 5");
  Step();
  EXPECT_TRUE(s.Vars.ReadMarks.Test(5));
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::Off);
  EXPECT_FALSE(s.Wait.CurrentTextRead);
  s.Mode.SkipMode = SkipMode::On;
  Load("*mark 5\n*mark 80001\n*mark -1");
  RunToEnd();
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::On);
  EXPECT_TRUE(s.Wait.CurrentTextRead);
  EXPECT_FALSE(s.Vars.ReadMarks.Test(80001));
  // Without skip-read-only the mark is kept and skipping goes on.
  s.Settings.SkipReadOnly = false;
  Load("*mark 6");
  RunToEnd();
  EXPECT_TRUE(s.Vars.ReadMarks.Test(6));
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::On);
}

TEST_F(Commands, StringsAndTitles) {
  const std::string longText(100, 'z');
  Load("*string 3 hello world\n*string 12 no\n*string x\n*string 4 " + longText +
       "\n*stitle 第一話\n*string 5");
  RunToEnd();
  EXPECT_STREQ(s.Vars.GetString(3), "hello world");
  EXPECT_EQ(std::string(s.Vars.GetString(4)), std::string(63, 'z'));  // cut to the field
  EXPECT_EQ(SjisToUtf8(s.Vars.GetString(9)), "第一話");
  EXPECT_STREQ(s.Vars.GetString(5), "");
  EXPECT_STREQ(s.Vars.GetString(0), "");  // "*string x" is $0 with an empty text
}

TEST_F(Commands, GameStateCommands) {
  V(5) = 3;
  s.Vars.F.Set(7);
  s.Vars.T.Set(9999);
  s.Vars.E.Set(3);
  S(151) = 0;
  std::strcpy(in.LoadedScript, "CH01");
  Load("*gameinit\n!V006=1\n*rec\n*tw_set 0\n*chgprm\n!V007=1");
  Step();
  EXPECT_EQ(V(5), 0);
  EXPECT_FALSE(s.Vars.F.Test(7));
  EXPECT_FALSE(s.Vars.T.Test(9999));
  EXPECT_TRUE(s.Vars.E.Test(3));  // global flags survive
  EXPECT_EQ(S(80), 400);
  EXPECT_EQ(S(89), 700);
  EXPECT_EQ(S(90), 0);
  EXPECT_EQ(V(6), 0);  // rec clears bank V again
  EXPECT_STREQ(in.RecScript, "CH01");
  EXPECT_EQ(S(151), 1);
  EXPECT_FALSE(s.Mode.WindowShown);
  EXPECT_EQ(V(7), 0);  // chgprm ends the step
  S(151) = 2;
  S(153) = 4;
  Load("*rec");
  Step();
  EXPECT_EQ(S(151), 2);
  EXPECT_EQ(S(153), 0);

  for (int i = 0; i < 2; ++i) {
    Load("*gameclr");
    Step();
  }
  EXPECT_EQ(S(kSysClearCount), 2);
  EXPECT_TRUE(s.Vars.E.Test(999));
}

TEST_F(Commands, ModeFlipsFullScreenTextWhateverTheNumber) {
  Load("あ\n*mode 5\n*mode 5\n*mode 0");
  Step();
  EXPECT_EQ(PageRow(1), "  あ");
  Step();
  EXPECT_EQ(S(kSysFullScreenText), 1);
  EXPECT_EQ(PageRow(1), "");  // the text state was reset
  EXPECT_EQ(S(kSysTextColour), 0xFFFFFF);
  Step();
  EXPECT_EQ(S(kSysFullScreenText), 0);
  Step();
  EXPECT_EQ(S(kSysFullScreenText), 0);  // 0 is the current mode: nothing switches
  // In full-screen text mode a name line is printed as text, without the row 0 rule.
  S(kSysFullScreenText) = 1;
  ResetTextState(s);
  Load(">太郎\nあ");
  Step();
  Step();
  EXPECT_EQ(PageRow(0), "太郎");
  EXPECT_EQ(PageRow(1), "あ");
}

TEST_F(Commands, SkipAndAutoModeCommands) {
  s.Mode.SkipMode = SkipMode::On;
  s.SetAutoDelay(5);
  Load("*break");
  Step();
  EXPECT_EQ(s.Mode.SkipMode, SkipMode::Off);
  EXPECT_EQ(s.AutoDelay(), 0);
  // The choice rule applies only when StopAtChoice is on.
  for (bool stop : {false, true}) {
    s.Settings.StopAtChoice = stop;
    s.Mode.SkipMode = SkipMode::On;
    Load("*select\n{\n}");
    Step();
    EXPECT_EQ(s.Mode.SkipMode, stop ? SkipMode::Off : SkipMode::On);
  }
  // wait_v_end waits for the voice; the timer clears it when no voice plays.
  Load("*wait_v_end\n!V001=1");
  Step();
  EXPECT_TRUE(s.Wait.WaitForVoice);
  EXPECT_EQ(V(1), 0);
}

TEST_F(Commands, EffectSoundNamesFollowTheGroupSwitches) {
  PlayerSettings p;
  p.SeGroup[2] = 0;
  p.SeLevel[1] = 3;
  struct Case {
    const char* name;
    bool looping;
    const char* plays;  // "" nothing
  } cases[] = {
      {"SEH2ABC", false, ""},
      {"seh2abc", true, ""},
      {"SEH7ABC", false, "SEH7ABC"},  // digits above 4 are not groups
      {"SEH1ABC", false, "SEH1ABC"},
      {"se01", false, "SE01"},
      {"SEH4LOOP2A0", true, "SEH4LOOP2A3"},  // "2" selects SE_LVL1 (3)
      {"SEH4LOOP2A0", false, "SEH4LOOP2A0"},
      {"SEH4LOOP9A0", true, "SEH4LOOP9A0"},
      {"SEH4", true, "SEH4"},
  };
  for (const Case& c : cases) EXPECT_EQ(EffectSoundName(p, c.name, c.looping), c.plays) << c.name;
}

TEST_F(Commands, SpecialEffectsComputeTheirPictures) {
  // The completion rate counts 228 listed E flags.
  Banks v;
  EXPECT_EQ(CompletionCount(v) * 100 / 228, 0);
  for (int n = 0; n < 1000; ++n) v.E.Set(n);
  EXPECT_EQ(CompletionCount(v), 228);
  EXPECT_EQ(CompletionCount(v) * 100 / 228, 100);
  // Letterbox dimming: rows outside [a, b) scale by c / 16.
  Bitmap b;
  b.Resize(2, 4);
  b.Fill(200, 100, 16);
  DimRows(b, 1, 3, 8);
  EXPECT_EQ(b.Row(0)[0], 100);
  EXPECT_EQ(b.Row(0)[2], 8);
  EXPECT_EQ(b.Row(1)[0], 200);
  EXPECT_EQ(b.Row(3)[1], 50);
  DimRows(b, 0, 4, -3);  // nothing outside the band
  EXPECT_EQ(b.Row(1)[0], 200);
  // The effects end the step; skipping with effects cut does nothing.
  for (const char* line : {"*special 0", "*special 1", "*special 2", "*special 2 100", "*special 6",
                           "*special 9", "*shake 2,4,10", "*shake 0,99999999,0", "*shake"}) {
    V(1) = 0;
    Load(std::string(line) + "\n!V001=1");
    Step();
    EXPECT_EQ(V(1), 0) << line;
  }
}

}  // namespace
}  // namespace zk::test
