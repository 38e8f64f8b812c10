#include <climits>

#include "ScriptFixture.h"
#include "script/Expressions.h"

namespace zk::test {
namespace {

using Expressions = ScriptTest;

TEST_F(Expressions, AssignmentsEvaluateLeftToRightWithTheirBankRules) {
  struct Case {
    const char* statements;
    char bank;  // 'V', 'S', 'G', 'F', 'E', 'T'
    int number;
    int32_t expected;
    bool error;
  } cases[] = {
      {"V001=2+3*4", 'V', 1, 20, false},  // no precedence
      {"V001=-5", 'V', 1, -5, false},
      {"V001=2*-3", 'V', 1, -3, false},  // (2 x 0) - 3
      {"V001=7/0", 'V', 1, 0, false},
      {"V001=7%0", 'V', 1, 0, false},
      {"V001=-7/2", 'V', 1, -3, false},
      {"V001=-7%2", 'V', 1, -1, false},
      {"V001=10_&6", 'V', 1, 2, false},
      {"V001=10_|5", 'V', 1, 15, false},
      {"V001=10_X3", 'V', 1, 9, false},
      {"V001=2147483647+1", 'V', 1, INT32_MIN, false},  // wraps
      {"V001=5V002", 'V', 1, 8, false},                 // a reference replaces the digits before it
      {"V001=V0023", 'V', 1, 83, false},                // digits after a reference extend it
      {"V001=V1+5", 'V', 1, 0, true},  // digits are taken by count: "1+5" is not a number
      {"V001=3+Q", 'V', 1, 0, true},
      {"V001=1　+　2", 'V', 1, 3, false},  // full-width spaces are removed
      {"v001 = 1 ; s026 = 3", 'S', 26, 3, false},
      {"G5=7", 'G', 5, 7, false},
      {"P003=9", 'S', 5, 9, false},  // V003 holds 2005, the cell of S005
      {"F010=1", 'F', 10, 1, false},
      {"F010=2", 'F', 10, 0, false},  // ignored without a report
      {"E005=1", 'E', 5, 1, false},
      {"T0010=2", 'T', 10, 0, true},
      {"E005=-1", 'E', 5, 0, true},
      {"Q001=1", 'V', 1, 0, true},
      {"T0001=5;V001=4", 'V', 1, 4, true},    // an error does not stop later statements
      {"V001=1;;V002=2;", 'V', 1, 1, false},  // empty statements do nothing
      {"V1", 'V', 1, 0, true},
  };
  for (const Case& c : cases) {
    s.Vars = Banks{};
    V(2) = 8;
    V(3) = 2005;
    in.ErrorCount = 0;
    Assign(form, Sjis(c.statements));
    int32_t got = 0;
    switch (c.bank) {
      case 'V':
        got = V(c.number);
        break;
      case 'S':
        got = S(c.number);
        break;
      case 'G':
        got = s.Vars.G(c.number);
        break;
      case 'F':
        got = s.Vars.F.Test(c.number);
        break;
      case 'E':
        got = s.Vars.E.Test(c.number);
        break;
      case 'T':
        got = s.Vars.T.Test(c.number);
        break;
    }
    EXPECT_EQ(got, c.expected) << c.statements;
    EXPECT_EQ(in.ErrorCount != 0, c.error) << c.statements;
  }
  s.Vars = Banks{};
  Assign(form, "V001=1;S026=3;T0010=2");
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(s.AutoDelay(), 3);
  EXPECT_STREQ(in.LastError, kAssignmentError);
  Assign(form, "V001=3+Q");
  EXPECT_STREQ(in.LastError, kInvalidExpression);
}

TEST_F(Expressions, EvaluateStopsAtItsStopCharactersAndReadsRandomNumbers) {
  V(1) = 41;
  size_t stop = 0;
  EXPECT_EQ(Evaluate(form, "V001+1]tail", &stop), 42);
  EXPECT_EQ(stop, 6u);
  for (const char* text : {"1=", "1<", "1>", "1;", "1!", "1&", "1|", "1]", "1,"}) {
    EXPECT_EQ(Evaluate(form, text, &stop), 1) << text;
    EXPECT_EQ(stop, 1u) << text;
  }
  // A NUL inside the text is passed over.
  EXPECT_EQ(Evaluate(form, std::string_view("1\0"
                                            "2",
                                            3)),
            12);
  // An invalid character reports and yields 0; the stop is the next stop character.
  in.ErrorCount = 0;
  EXPECT_EQ(Evaluate(form, "5(1)=2", &stop), 0);
  EXPECT_EQ(stop, 4u);
  EXPECT_EQ(in.ErrorCount, 1);
  for (int i = 0; i < 200; ++i) {
    const int32_t r = Evaluate(form, "R10");
    EXPECT_GE(r, 0);
    EXPECT_LT(r, 10);
  }
  EXPECT_EQ(Evaluate(form, "R0"), 0);
  in.ErrorCount = 0;
  EXPECT_EQ(Evaluate(form, "R+1"), 0);
  EXPECT_EQ(in.ErrorCount, 1);
  // Out-of-range indirect cells read as 0.
  V(9) = 5000;
  EXPECT_EQ(Evaluate(form, "P009"), 0);
}

TEST_F(Expressions, ConditionsJoinTermsWithoutPrecedence) {
  struct Case {
    const char* text;
    int v1, v2, v3;
    bool expected;
  } cases[] = {
      {"(V001>=3&V002!0)", 3, 1, 0, true},
      {"(V001>=3&V002!0)", 3, 0, 0, false},
      {"(V001>=3&V002!0)", 2, 1, 0, false},
      {"(V001=1|V002=1&V003=1)", 1, 0, 0, true},  // the first true "|" decides
      {"(V001=1|V002=1&V003=1)", 0, 1, 1, true},
      {"(V001=1|V002=1&V003=1)", 0, 1, 0, false},
      {"(V001=1|V002=1&V003=1)", 0, 0, 1, false},  // the first false "&" decides
      {"(V001==3)", 3, 0, 0, true},
      {"(V001!=3)", 3, 0, 0, false},
      {"(V001!3)", 4, 0, 0, true},
      {"(V001<4)", 3, 0, 0, true},
      {"(V001<=3)", 3, 0, 0, true},
      {"(V001>3)", 3, 0, 0, false},
      {"( v001 = 3 )", 3, 0, 0, true},  // lower case and blanks
      {"(V001+1=V002*2)", 3, 2, 0, true},
      {"(V001=9,V002=5)", 3, 5, 0, true},  // any other connective: the next term decides
      {"(V001)", 1, 0, 0, false},          // a term without a comparison
      {"(V001=1&V002)", 1, 0, 0, true},    // ... keeps the value before it
      {"V001=3", 3, 0, 0, true},           // the bracket is optional
      {"(V001=3) trailing", 3, 0, 0, true},
  };
  for (const Case& c : cases) {
    V(1) = c.v1;
    V(2) = c.v2;
    V(3) = c.v3;
    EXPECT_EQ(Condition(form, c.text), c.expected)
        << c.text << " with " << c.v1 << "," << c.v2 << "," << c.v3;
  }
}

TEST_F(Expressions, SplitListFillsTheArgumentList) {
  struct Field {
    const char* text;
    int32_t value;
  };
  struct Case {
    const char* text;
    int count;
    std::vector<Field> fields;
  } cases[] = {
      {" 10, 20 :x", 3, {{"10", 10}, {"20 ", 20}, {"x", kListNoValue}}},
      {"a,,b", 3, {{"a", kListNoValue}, {"", kListNoValue}, {"b", kListNoValue}}},
      {"5", 1, {{"5", 5}}},
      {"", 0, {}},
      {"0,-0,-12x,+7", 4, {{"0", 0}, {"-0", kListNoValue}, {"-12x", -12}, {"+7", 7}}},
      {"99999999999", 1, {{"99999999999", INT32_MAX}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitList(in, c.text), c.count) << c.text;
    for (size_t i = 0; i < c.fields.size(); ++i) {
      EXPECT_STREQ(in.ListArgs[i].Text, c.fields[i].text) << c.text << " field " << i;
      EXPECT_EQ(in.ListArgs[i].Value, c.fields[i].value) << c.text << " field " << i;
    }
    EXPECT_STREQ(in.ListArgs[c.fields.size()].Text, "") << c.text;
  }
  // More than 32 fields and longer texts than an entry holds are cut.
  std::string many;
  for (int i = 0; i < 40; ++i) many += std::to_string(i) + ",";
  EXPECT_EQ(SplitList(in, many), kListEntries);
  EXPECT_EQ(in.ListArgs[31].Value, 31);
  const std::string longText(50, '7');
  EXPECT_EQ(SplitList(in, longText), 1);
  EXPECT_EQ(std::string(in.ListArgs[0].Text), std::string(31, '7'));
}

}  // namespace
}  // namespace zk::test
