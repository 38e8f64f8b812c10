// The expression language of scripts: a strict left-to-right evaluator over
// the variable banks, assignment statements, conditions and the argument list.
#pragma once
#include <cstdint>
#include <string_view>

namespace zk {

class TForm1;
struct InterpreterState;

// The two error messages of the language (UTF-8); reported with kind 3.
extern const char kInvalidExpression[];  // "無効数式"
extern const char kAssignmentError[];    // "代入エラー"

// Evaluates text from its start up to a stop character ("=", "<", ">", ";",
// "!", "&", "|", "]", ",") or its end. No precedence: 2+3*4 is 20. On an
// invalid character reports kInvalidExpression and yields 0. When stop is
// given it receives the offset of the stop character (or the end of text); an
// invalid expression reports the next stop character after the error.
int32_t Evaluate(TForm1& f, std::string_view text, size_t* stop = nullptr);

// Runs assignment statements separated by ";" ("V001=1;S026=3"), after
// upper-casing them and removing blanks, tabs and full-width spaces.
void Assign(TForm1& f, std::string_view statements);

// Evaluates a condition: an optional "(", terms EXPR OP EXPR joined by "&"
// and "|", up to ")" or the end. OP is one of = == ! != < <= > >=.
bool Condition(TForm1& f, std::string_view text);

// Splits text at "," and ":" into the argument list (32 entries of text and
// value) and returns the number of fields (at most 32).
int SplitList(InterpreterState& in, std::string_view text);

}  // namespace zk
