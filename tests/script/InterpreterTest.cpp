#include <cstring>

#include "ScriptFixture.h"
#include "script/Interpreter.h"

namespace zk::test {
namespace {

using Interpreter = ScriptTest;

TEST_F(Interpreter, CharacterDelayDecidesHowMuchOfALineOneStepPrints) {
  struct Case {
    int charDelay;
    bool textSpeedOn;
    bool pageFinish;
    int stepsForLine;  // steps until the line is printed and ended
    int ticksAfterFirst;
  } cases[] = {
      {0, true, false, 1, 0},  {1, true, false, 4, 0},  // one character per idle pass
      {3, true, false, 4, 2},                           // one character, then two timer ticks
      {3, false, false, 1, 0}, {3, true, true, 1, 0},
  };
  for (const Case& c : cases) {
    ResetTextState(s);
    Load("あいう\n!V001=1");
    s.Wait.CharDelay = c.charDelay;
    s.Settings.TextSpeedOn = c.textSpeedOn;
    s.Wait.PageFinish = c.pageFinish;
    V(1) = 0;
    Step();
    EXPECT_EQ(s.Wait.WaitTicks, c.ticksAfterFirst) << c.charDelay;
    int steps = 1;
    while (in.Row < 2 && steps < 10) {
      s.Wait.WaitTicks = 0;
      Step();
      ++steps;
    }
    EXPECT_EQ(steps, c.stepsForLine) << c.charDelay << c.textSpeedOn << c.pageFinish;
    EXPECT_EQ(PageRow(1), "  あいう");  // narration is indented by two cells
    EXPECT_EQ(V(1), 0) << "the step ends at the end of a text line";
  }
}

TEST_F(Interpreter, TextCodesWaitSubstituteAndPrint) {
  struct Case {
    const char* line;
    int32_t ticksAfterFirstStep;
    const char* pageAfterFirstStep;  // row 1
    const char* pageAtEnd;
  } cases[] = {
      {"あ%5い", 5, "  あ", "  あい"},
      {"%0", 10, "", "  0"},  // waits the default, then prints the 0
      {"%x", 10, "", "  x"},
      {"[wait 30]こんにちは", 30, "", "  こんにちは"},
      {"[WAIT 2]x", 2, "", "  x"},
      {"値[?V001+1]だ", 0, "  値42だ", "  値42だ"},
      {"[$3]さん", 0, "  花子さん", "  花子さん"},
      {"＄０です", 0, "  太郎です", "  太郎です"},
      {"[unknown]あ", 0, "  あ", "  あ"},
      {"<かんじ>漢字", 0, "  漢字", "  漢字"},
      // A code that runs to the line end: its value starts the next text line.
      {"あ[?V001\nい", 0, "  あ41い", "  あ41い"},
  };
  for (const Case& c : cases) {
    s.Vars = Banks{};
    V(1) = 41;
    s.Vars.SetString(3, Sjis("花子").c_str());
    s.Vars.SetString(0, Sjis("太郎").c_str());
    ResetTextState(s);
    Load(c.line);
    Step();
    EXPECT_EQ(s.Wait.WaitTicks, c.ticksAfterFirstStep) << c.line;
    EXPECT_EQ(PageRow(1), c.pageAfterFirstStep) << c.line;
    RunToEnd();
    EXPECT_EQ(PageRow(1), c.pageAtEnd) << c.line;
  }
  // Skipping passes every wait but still ends the step.
  s.Mode.SkipMode = SkipMode::On;
  ResetTextState(s);
  Load("あ%5い");
  Step();
  EXPECT_EQ(s.Wait.WaitTicks, 0);
  EXPECT_EQ(PageRow(1), "  あ");
}

TEST_F(Interpreter, DollarZeroPrintsTheFixedNameWhileF028IsSet) {
  s.Vars.SetString(0, Sjis("太郎").c_str());
  s.Vars.SetString(1, Sjis("花子").c_str());
  s.Vars.F.Set(28);
  Load("＄０と＄１と＄２");
  RunToEnd();
  EXPECT_EQ(PageRow(1), "  へたれとへたれと");
  EXPECT_EQ(Backlog().back(), "へたれとへたれと");
}

TEST_F(Interpreter, InlineCodesSetColourDelayAndLargeText) {
  s.Mode.WindowShown = true;  // a page reset on the first character would clear the colour
  Load("[col 3]あ[2]い[1][delay 5]う");
  Step();
  EXPECT_EQ(in.PageColours[1][2], 3);
  EXPECT_EQ(PageRow(1), "  あい う");  // い takes three cells in large text
  EXPECT_EQ(s.Wait.CharDelay, 5);
  EXPECT_FALSE(in.LargeText);
}

TEST_F(Interpreter, RowsWrapWithHangingPunctuationAndNarrationIndent) {
  form.Game.Def.MOJI_MAX_X = 10;
  Load("「あいうえおか\n「あいうえ、。か");
  Step();
  EXPECT_EQ(PageRow(1), "「あいうえ");
  EXPECT_EQ(PageRow(2), "  おか");
  // The character that wrapped still ends the backlog line it began on.
  EXPECT_EQ(Backlog(), (std::vector<std::string>{"「あいうえお", "か"}));
  Step();
  // "、" may hang in cells 10-11; "。" at cell 12 wraps.
  EXPECT_EQ(PageRow(3), "「あいうえ、");
  EXPECT_EQ(PageRow(4), "  。か");
}

TEST_F(Interpreter, NamePlateLinesFillRowZeroAndTheBacklog) {
  s.Vars.SetString(1, Sjis("花子").c_str());
  Load(">太郎\n「やあ」\n\\\n>＄１\n「ええ」");
  Step();
  EXPECT_EQ(PageRow(0), "太郎");
  EXPECT_EQ(PageRow(1), "「やあ」");
  Step();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Page);
  PageReset(form);
  s.Wait.ClickWait = ClickWait::None;
  Step();
  EXPECT_EQ(PageRow(0), "花子");
  EXPECT_EQ(PageRow(1), "「ええ」");
  EXPECT_EQ(Backlog(), (std::vector<std::string>{"太郎", "「やあ」", "", "花子", "「ええ」"}));
}

TEST_F(Interpreter, WaitLinesAndMarks) {
  struct Case {
    const char* script;
    int skip;
    ClickWait clickWait;
    const char* row1;  // after one step
    bool nextLineRan;  // "!V009=1" after the wait ran in the same step
  } cases[] = {
      {"あ\n\\\n!V009=1", 0, ClickWait::Page, "  あ", false},
      {"~\n!V009=1", 0, ClickWait::PageKeepVoice, "", false},
      {"+\n!V009=1", 0, ClickWait::PageNoCursor, "", false},
      {"=\n!V009=1", 0, ClickWait::Line, "", false},
      {"=\n!V009=1", 1, ClickWait::None, "", true},  // a line wait is passed over while skipping
      {"あ▼い\n!V009=1", 0, ClickWait::Page, "  あ", false},
      {"あ〓い\n!V009=1", 0, ClickWait::Line, "  あ", false},
  };
  for (const Case& c : cases) {
    ResetTextState(s);
    s.Mode.SkipMode = static_cast<SkipMode>(c.skip);
    s.Wait.ClickWait = ClickWait::None;
    V(9) = 0;
    Load(c.script);
    Step();
    if (std::strncmp(c.script, "あ\n", 4) == 0) Step();
    EXPECT_EQ(s.Wait.ClickWait, c.clickWait) << c.script;
    EXPECT_EQ(PageRow(1), c.row1) << c.script;
    EXPECT_EQ(V(9) == 1, c.nextLineRan) << c.script;
  }
  // The line wait mark resumes the line after it; the page wait drops the rest.
  ResetTextState(s);
  Load("あ〓い");
  Step();
  s.Wait.ClickWait = ClickWait::None;
  Step();
  EXPECT_EQ(PageRow(1), "  あい");
  Load("あ▼い\nう");
  Step();
  s.Wait.ClickWait = ClickWait::None;
  Step();
  EXPECT_EQ(Backlog().back(), "う");
  // ▽ starts a new page at once.
  Load("あ▽い");
  Step();
  EXPECT_EQ(PageRow(1), "");
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::None);
}

TEST_F(Interpreter, AutoCountdownCountsThePageAtTheWait) {
  s.SetAutoDelay(5);
  Load(std::string(45, 'a') + "\n\\");
  Step();
  Step();
  EXPECT_EQ(s.Wait.ClickWait, ClickWait::Page);
  EXPECT_EQ(s.Wait.AutoCountdown, 45 / 20 + 2 * 5 + 2);
  // S026 is script-writable: a delay of 25 or more must not divide by zero.
  s.SetAutoDelay(30);
  Load("\\");
  Step();
  EXPECT_EQ(s.Wait.AutoCountdown, in.PageChars + 62);
}

TEST_F(Interpreter, BacklogKeepsTheLast200Lines) {
  for (int i = 1; i <= 201; ++i) {
    AppendBacklog(in, "line " + std::to_string(i));
    EndBacklogLine(in);
  }
  EXPECT_EQ(in.BacklogCount, 200);
  EXPECT_EQ(Backlog().front(), "line 2");
  EXPECT_EQ(Backlog().back(), "line 201");
  EXPECT_EQ(in.BacklogWrite, 200 * kBacklogLineSize);
  // A line keeps 69 bytes; the symbols ◆ § √ are printed but not recorded.
  form.Game.Def.MOJI_MAX_X = 100;
  Load(std::string(80, 'x') + "\n◆あ§い√");
  s.Mode.SkipMode = SkipMode::On;
  Step();
  EXPECT_EQ(Backlog()[198], std::string(69, 'x'));
  EXPECT_EQ(Backlog().back(), "あい");
}

TEST_F(Interpreter, BlocksReachedInSequenceAreSkipped) {
  struct Case {
    const char* script;
    std::vector<int> set;  // V cells that end up 1
  } cases[] = {
      {"{\n!V001=1\n}\n!V002=1", {2}},
      {"{:A(V005=1)\n!V001=1\n{:A\n!V002=1\n}:A\n!V003=1", {3}},
      {"{:A\n!V001=1\n}:AB\n!V002=1\n}:a\n!V003=1", {3}},  // the end matches the name whole
      {"{\n!V001=1", {}},                                  // no end: the script ends
      {"*frobnicate\n;comment\n:label\n!V004=1", {4}},
  };
  for (const Case& c : cases) {
    s.Vars = Banks{};
    Load(c.script);
    RunToEnd();
    for (int n = 1; n <= 4; ++n) {
      const bool expected = std::find(c.set.begin(), c.set.end(), n) != c.set.end();
      EXPECT_EQ(V(n) == 1, expected) << c.script << " V" << n;
    }
  }
}

// The trace describes a line by the same table the interpreter dispatches on.
TEST(LineKinds, TheTraceDescribesEachKindAndACommandsShape) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "empty line"},
      {"!V001=1", "assignment"},
      {":LABEL", "label"},
      {";note", "comment"},
      {"{", "block start"},
      {"}", "block end"},
      {">NAME", "name plate"},
      {"\\", "page end"},
      {"~", "page end, voice continues"},
      {"+", "page end without cursor"},
      {"=", "line wait"},
      {"*music 3", "music n"},
      {"@SELECT", "select"},
      {"*shake 1", "shake n[,n[,n]]"},
      {"*frobnicate", "unknown command"},
      {"text", "text"},
      {"\x82\xa0", "text"},
  };
  for (const auto& [line, description] : cases) EXPECT_EQ(DescribeLine(line), description) << line;
}

TEST_F(Interpreter, TraceModeRunsOneLinePerClick) {
  s.Shell.TraceMode = true;
  Load("!V001=1\n!V002=1\n!V003=1");
  Step();
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(2), 0);
  EXPECT_EQ(s.Wait.SleepFrames, -1);
  s.Wait.SleepFrames = 0;
  Step();
  EXPECT_EQ(V(2), 1);
  EXPECT_EQ(V(3), 0);
}

TEST_F(Interpreter, OverlongLinesAndUnterminatedScriptsStayInsideTheBuffers) {
  std::string longText = ";a";
  for (int i = 0; i < 1500; ++i) longText += "あ";
  Load(longText + "\n!V001=5");
  Step();
  EXPECT_EQ(V(1), 5);
  // The line buffer kept whole characters only: ";a" and 1022 of them.
  s.Vars = Banks{};
  Load(longText);
  Step();
  EXPECT_EQ(std::strlen(in.LineBuffer), 2u + 2 * 1022);
  // The last line has no NUL.
  const char bare[] = "!V002=7";
  std::memcpy(in.ScriptBuffer, bare, 7);
  in.ScriptSize = 7;
  in.ScriptPos = 0;
  in.NeedLine = true;
  Step();
  EXPECT_EQ(V(2), 7);
  Step();
  EXPECT_TRUE(ScriptFinished(form));
  // Registers restored from elsewhere (a save) are kept inside their buffers.
  in.LinePos = 99999;
  in.NeedLine = false;
  in.BacklogWrite = -5;
  Step();
  SUCCEED();
}

}  // namespace
}  // namespace zk::test
