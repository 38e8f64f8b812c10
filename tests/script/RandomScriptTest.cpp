// Scripts put together from random pieces of the language must run without
// reading or writing outside any buffer (the sanitizer build checks this).
#include <random>

#include "ScriptFixture.h"
#include "script/Expressions.h"

namespace zk::test {
namespace {

using RandomScripts = ScriptTest;

TEST_F(RandomScripts, RunWithoutLeavingTheirBuffers) {
  // Raw Shift-JIS pieces; some end in the middle of a character.
  const std::vector<std::string> pieces = {"*",        "@",
                                           "!",        ":",
                                           ";",        "{",
                                           "}",        "{:",
                                           "}:",       ">",
                                           "\\",       "~",
                                           "+",        "=",
                                           "%",        "%0",
                                           "[",        "]",
                                           "<",        ">",
                                           "[?",       "[$",
                                           "[cv ",     "[wait",
                                           "[col",     "[delay",
                                           "[gra ",    "[clrb",
                                           "[1]",      "[2]",
                                           "\x81\xa5", "\x81\xa4",
                                           "\x81\xac", "\x81\x90\x82\x4f",
                                           "\x81\x90", "\x82",
                                           "\xe0",     "\x82\xa0",
                                           "\x81\x41", "if ",
                                           "calc ",    "go ",
                                           "switch",   "cjmp",
                                           "end",      "string ",
                                           "mark ",    "sleep ",
                                           "mode ",    "tw_set ",
                                           "special ", "shake",
                                           "se ",      "seloop ",
                                           "cv ",      "backto",
                                           "V001",     "S028",
                                           "P001",     "F010",
                                           "T0001",    "E999",
                                           "G5",       "R",
                                           "R7",       "(",
                                           ")",        "=",
                                           "!=",       "<=",
                                           "&",        "|",
                                           "_&",       "_X",
                                           ",",        "0",
                                           "1",        "9",
                                           "-",        "*",
                                           "/",        "%",
                                           " ",        "A",
                                           "x",        "main",
                                           "$1",       "9999999999",
                                           "\n",       "\n",
                                           "\n"};
  std::mt19937 rng(20240601);
  int steps = 0;
  for (int round = 0; round < 1000; ++round) {
    std::string text;
    const int count = 20 + static_cast<int>(rng() % 200);
    for (int i = 0; i < count; ++i) text += pieces[rng() % pieces.size()];
    std::vector<uint8_t> bytes(text.begin(), text.end());
    for (uint8_t& b : bytes)
      if (b == '\n') b = 0;
    if (rng() % 4 == 0) bytes.resize(bytes.size() + 3000, 'a');  // an overlong line
    s.Vars = Banks{};
    V(1) = static_cast<int32_t>(rng());  // P001 then points anywhere
    std::copy(bytes.begin(), bytes.end(), in.ScriptBuffer);
    in.ScriptSize = static_cast<int32_t>(bytes.size());
    in.ScriptPos = 0;
    in.NeedLine = true;
    in.ScriptRunning = true;
    in.CallDepth = 0;
    s.Shell.ScriptEnded = false;
    s.Mode.SkipMode = static_cast<SkipMode>(rng() % 2);
    steps += RunToEnd(400);
    // The same text as an expression, a condition and an argument list.
    Evaluate(form, text);
    Condition(form, text);
    SplitList(in, text);
    Assign(form, text);
  }
  EXPECT_GT(steps, 5000);  // the scripts really ran
}

}  // namespace
}  // namespace zk::test
