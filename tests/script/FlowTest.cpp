#include <fstream>

#include "ScriptFixture.h"
#include "script/Flow.h"

namespace zk::test {
namespace {

using Flow = ScriptTest;

TEST_F(Flow, LabelsAndGo) {
  Load("*go Start\n!V001=1\n:start \n!V002=1\n:start\n!V003=1\n*go nowhere\n!V004=1");
  RunToEnd();
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 0);  // the label's trailing blank is part of its name
  EXPECT_EQ(V(3), 1);  // lower-case label found by a mixed-case go
  EXPECT_EQ(V(4), 1);  // a missing label changes nothing
  // A ":" anywhere in a line counts.
  Load("*go X\n!V005=1\ntext:X\n!V006=1");
  RunToEnd();
  EXPECT_EQ(V(5), 0);
  EXPECT_EQ(V(6), 1);
}

TEST_F(Flow, IfRunsACommandOrJumpsToALabel) {
  struct Case {
    const char* line;
    int v1;
    int v2, v3;  // expected
  } cases[] = {
      {"*if (V001=1) *calc V002=5", 1, 5, 1},
      {"*if (V001=1) *calc V002=5", 0, 9, 1},
      {"*IF (V001=1) !V002=7", 1, 7, 1},
      {"@if (V001=1)   LABEL", 1, 0, 1},  // jumps past "!V002=9"
      {"*if (V001=1) MISSING", 1, 9, 1},  // a missing label goes on with the next line
      {"*if(V001=1) !V002=7", 1, 9, 1},   // "if(" is no keyword: the line is skipped
      {"*if (V001=1 !V002=7", 1, 9, 1},   // no ")": nothing runs
  };
  for (const Case& c : cases) {
    s.Vars = Banks{};
    V(1) = c.v1;
    // The line after the if sets V002 to 9 when it still is 0.
    Load(std::string(c.line) + "\n*if (V002=0) !V002=9\n:LABEL\n!V003=1");
    RunToEnd();
    EXPECT_EQ(V(2), c.v2) << c.line << " V001=" << c.v1;
    EXPECT_EQ(V(3), c.v3) << c.line;
  }
  // A false condition ends the step; the next line runs at the next one.
  Load("*if (V001=5) !V002=1\n!V004=1");
  Step();
  EXPECT_EQ(V(4), 0);
  Step();
  EXPECT_EQ(V(4), 1);
  // The command after the condition must end within 200 bytes.
  s.Vars = Banks{};
  V(1) = 1;
  Load("*if (V001=1) !V002=1;V003=1" + std::string(200, ' ') + "\n!V004=1");
  RunToEnd();
  EXPECT_EQ(V(2), 0);
  EXPECT_EQ(V(4), 1);
}

TEST_F(Flow, SwitchTakesTheFirstTrueCase) {
  const char* plain = "*switch\n{(V001=1)\n!V002=1\n{(V001=2)\n!V002=2\n{\n!V002=3\n}\n!V003=1";
  const char* noDefault = "*switch\n{(V001=1)\n!V002=1\n}\n!V003=1";
  const char* named =
      "*switch AB\n{:ABC(V001=1)\n!V002=9\n{:AB(V001=1)\n!V002=1\n{:AB\n!V002=3\n}:AB\n!V003=1";
  struct Case {
    const char* script;
    int v1;
    int v2;
  } cases[] = {
      {plain, 1, 1},     {plain, 2, 2},     {plain, 7, 3},
      {noDefault, 1, 1}, {noDefault, 2, 0},  // no case applies: continue at the "}" line
      {named, 1, 1},                         // {:ABC is passed over: its name only begins with AB
      {named, 5, 3},
  };
  for (const Case& c : cases) {
    s.Vars = Banks{};
    V(1) = c.v1;
    Load(c.script);
    RunToEnd();
    EXPECT_EQ(V(2), c.v2) << c.script << " V001=" << c.v1;
    EXPECT_EQ(V(3), 1) << c.script << " V001=" << c.v1;
  }
}

TEST_F(Flow, CjmpRunsTheSelectedBlock) {
  const char* script = "*cjmp V001\n{\n!V002=1\n{\n!V002=2\n{\n!V002=3\n}\n!V003=1";
  struct Case {
    int selector;
    int v2;
  } cases[] = {{0, 1}, {2, 3}, {5, 0}, {-1, 0}};
  for (const Case& c : cases) {
    s.Vars = Banks{};
    V(1) = c.selector;
    Load(script);
    RunToEnd();
    EXPECT_EQ(V(2), c.v2) << c.selector;
    EXPECT_EQ(V(3), 1) << c.selector;
  }
  // cjmp goes on in the same step.
  s.Vars = Banks{};
  Load(script);
  Step();
  EXPECT_EQ(V(2), 1);
}

TEST_F(Flow, BacktoRecordsItsLine) {
  Load(";x\n*backto\n!V001=1");
  Step();
  EXPECT_EQ(S(kSysBacktoOffset), 3);
}

TEST_F(Flow, CallsNestNineDeepAndReturnInOrder) {
  // S1 calls S2 ... S9 calls S10, a tenth level that is refused. On the way
  // back each records the order of its return in V1nn.
  std::vector<std::pair<std::string, std::string>> scripts;
  scripts.push_back({"MAIN", "*call s1\n!V200=V100"});
  for (int i = 1; i <= 9; ++i) {
    const std::string me = std::to_string(i);
    scripts.push_back({"S" + me, "!V00" + me + "=1\n*call s" + std::to_string(i + 1) + "\n!V10" +
                                     me + "=V100\n!V100=V100+1\n*end"});
  }
  scripts.push_back({"S10", "!V010=1\n*end"});
  UseScripts(scripts);
  StartMainScript(form);
  int steps = 0;
  int deepest = 0;
  while (!ScriptFinished(form) && steps++ < 200) {
    Step();
    deepest = std::max(deepest, in.CallDepth);
  }
  EXPECT_EQ(deepest, 9);
  EXPECT_EQ(V(9), 1);
  EXPECT_EQ(V(10), 0);  // the tenth call was refused and S9 went on
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(V(100 + i), 9 - i) << "S" << i;
  EXPECT_EQ(V(200), 9);  // main continued after its call line
  EXPECT_EQ(in.CallDepth, 0);
}

TEST_F(Flow, ImplicitReturnChainAndPatchArchive) {
  UseScripts({{"MAIN", "*call SUB\n!V001=V001+1\n*call sub:again\n!V002=1\n*chain NEXT:go"},
              {"SUB", "!V003=V003+1\n:again\n!V004=V004+1"},  // no end line
              {"NEXT", "!V005=1\n:go\n*call SUB2\n!V007=1\n*end\n!V008=1"},
              {"SUB2", "*chain FIN"},
              {"FIN", "!V009=1\n*end\n!V010=1"}},
             {{"NEXT", "!V006=1\n:go\n*call SUB2\n!V007=1"}});  // the patch wins
  StartMainScript(form);
  RunToEnd();
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(V(3), 1);  // the labelled call skipped the first line
  EXPECT_EQ(V(4), 2);
  EXPECT_EQ(V(2), 1);
  EXPECT_EQ(V(5), 0);
  EXPECT_EQ(V(6), 0);  // chain went to the label
  EXPECT_EQ(V(7), 0);  // SUB2 chained away: the call stack was dropped
  EXPECT_EQ(V(9), 1);
  EXPECT_EQ(V(10), 1);  // end at depth 0 outside a replay does nothing
  EXPECT_EQ(in.CallDepth, 0);
  EXPECT_STREQ(in.CurrentScript, "FIN");
  EXPECT_STREQ(in.LoadedScript, "FIN");
}

TEST_F(Flow, MissingScriptsAndStringCalls) {
  UseScripts({{"MAIN", "*call $2\n!V001=1\n*call NOSUCH\n!V002=1"},
              {"SUBA", "!V003=1"},
              {"LONG", "!V004=1"}});
  s.Vars.SetString(2, "suba");
  StartMainScript(form);
  RunToEnd();
  EXPECT_EQ(V(3), 1);
  EXPECT_EQ(V(1), 1);
  // A failed call discards the caller (depth 0: the script ends).
  EXPECT_EQ(V(2), 0);
  EXPECT_TRUE(ScriptFinished(form));
  // A name longer than the name field is a missing script, never a longer copy.
  Load("*chain " + std::string(40, 'L') + "\n!V005=1");
  RunToEnd();
  EXPECT_EQ(V(5), 0);
  EXPECT_EQ(std::string(in.CurrentScript), std::string(29, 'L'));
}

TEST_F(Flow, LoaderRefusesScriptsLargerThanTheBuffer) {
  std::string big(kScriptBufferSize + 10, ';');
  UseScripts({{"MAIN", "*chain BIG"}, {"BIG", big}});
  StartMainScript(form);
  RunToEnd();
  EXPECT_EQ(in.ScriptSize, 0);
  EXPECT_FALSE(LoadScript(form, "BIG", kLoadSide));
  EXPECT_TRUE(LoadScript(form, "main", kLoadSide));
  EXPECT_EQ(in.SideSize, 11);
}

TEST(ScriptFolder, ListsScriptFilesAndAsksUntilConfigIsFound) {
  ScratchDir a, b;
  std::filesystem::create_directories(a.Path() + "/sub");
  for (const char* file : {"/main.s", "/sub/ch01.S", "/notes.txt"})
    std::ofstream(a.Path() + file) << "x";
  std::ofstream(b.Path() + "/_config.s") << "x";
  ScriptFolderList list;
  int asked = 0;
  std::string stored;
  RebuildScriptFolderList(
      a.Path(), list,
      [&] {
        ++asked;
        return b.Path();
      },
      [&](const std::string& folder) { stored = folder; });
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(stored, b.Path());
  std::vector<std::string> names = list.Names;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"_config", "ch01", "main"}));
  EXPECT_EQ(list.Paths.size(), 3u);
  // Cancelling stops; an empty setting scans nothing.
  RebuildScriptFolderList(
      "", list, [] { return std::string(); }, nullptr);
  EXPECT_TRUE(list.Names.empty());
}

}  // namespace
}  // namespace zk::test
