// The evaluator, assignments, conditions, the argument list and the commands
// built on them (`calc`, `if`).
//
// [SECTION] Evaluator
// [SECTION] Assignments
// [SECTION] Conditions
// [SECTION] Argument list
// [SECTION] Commands
#include "script/Expressions.h"

#include <climits>
#include <cstring>
#include <string>

#include "base/Sjis.h"
#include "core/TForm1.h"
#include "script/CommandHandlers.h"
#include "script/Flow.h"
#include "script/ScriptHost.h"

namespace zk {

namespace {
// Requests to the layers above go through the host interface.
ScriptHost& Host(TForm1& f) {
  return *f.Hosts.Script;
}
}  // namespace

const char kInvalidExpression[] = "無効数式";
const char kAssignmentError[] = "代入エラー";

namespace {

void Report(TForm1& f, const char* message) {
  f.State.Interp.LastError = message;
  ++f.State.Interp.ErrorCount;
  Host(f).ReportScriptError(message, 3);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsStop(char c) {
  return c != '\0' && std::strchr("=<>;!&|],", c) != nullptr;
}

// Wrapping 32-bit arithmetic; division and remainder by zero give 0.
int32_t Apply(char op, int32_t a, int32_t b) {
  const uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
  switch (op) {
    case '+':
      return static_cast<int32_t>(ua + ub);
    case '-':
      return static_cast<int32_t>(ua - ub);
    case '*':
      return static_cast<int32_t>(ua * ub);
    case '/':
      if (b == 0) return 0;
      if (b == -1) return static_cast<int32_t>(0u - ua);
      return a / b;
    case '%':
      if (b == 0 || b == -1) return 0;
      return a % b;
    case '&':
      return a & b;
    case '|':
      return a | b;
    case 'X':
      return a ^ b;
    default:
      return b;
  }
}

// Digits of a reference by bank letter; 0 for letters that are not banks.
int RefDigits(char letter) {
  switch (letter) {
    case 'V':
    case 'S':
    case 'P':
    case 'F':
    case 'E':
      return 3;
    case 'G':
      return 1;
    case 'T':
      return 4;
    default:
      return 0;
  }
}

// Reads the fixed-count number of a reference starting at text[at]; false
// when one of the characters is not a digit (or the text ends first).
bool FixedNumber(std::string_view text, size_t at, int digits, int& number) {
  number = 0;
  for (int k = 0; k < digits; ++k) {
    if (at + k >= text.size() || !IsDigit(text[at + k])) return false;
    number = number * 10 + (text[at + k] - '0');
  }
  return true;
}

// The value of the reference at text[i]; length receives its size.
bool ReadReference(TForm1& f, std::string_view text, size_t i, int32_t& value, size_t& length) {
  const Banks& v = f.State.Vars;
  const char letter = text[i];
  if (letter == 'R') {
    // Up to six digits, scanned.
    size_t n = 0;
    int32_t modulus = 0;
    while (n < 6 && i + 1 + n < text.size() && IsDigit(text[i + 1 + n])) {
      modulus = modulus * 10 + (text[i + 1 + n] - '0');
      ++n;
    }
    if (n == 0) return false;
    const int32_t r = f.Random();
    value = modulus == 0 ? 0 : r % modulus;
    length = 1 + n;
    return true;
  }
  const int digits = RefDigits(letter);
  int n = 0;
  if (digits == 0 || !FixedNumber(text, i + 1, digits, n)) return false;
  length = 1 + digits;
  switch (letter) {
    case 'V':
      value = v.Cells[kCellV + n];
      break;
    case 'S':
      value = v.Cells[kCellS + n];
      break;
    case 'G':
      value = v.Cells[kCellG + n];
      break;
    case 'P':
      value = v.ReadCell(v.Cells[kCellV + n]);
      break;
    case 'F':
      value = v.F.Test(n);
      break;
    case 'E':
      value = v.E.Test(n);
      break;
    case 'T':
      value = v.T.Test(n);
      break;
  }
  return true;
}

}  // namespace

// ============================================================ [SECTION] Evaluator

int32_t Evaluate(TForm1& f, std::string_view text, size_t* stop) {
  int32_t a = 0, b = 0;
  char op = '+';
  size_t i = 0;
  const auto fail = [&](size_t at) {
    Report(f, kInvalidExpression);
    if (stop) {
      while (at < text.size() && !IsStop(text[at])) ++at;
      *stop = at;
    }
    return 0;
  };
  while (i < text.size()) {
    const char c = text[i];
    if (IsDigit(c)) {
      b = static_cast<int32_t>(static_cast<uint32_t>(b) * 10u + static_cast<uint32_t>(c - '0'));
      ++i;
      continue;
    }
    if (c == '\0') {  // ignored
      ++i;
      continue;
    }
    if (IsStop(c)) break;
    switch (c) {
      case '+':
      case '-':
      case '*':
      case '/':
      case '%':
        a = Apply(op, a, b);
        b = 0;
        op = c;
        ++i;
        continue;
      case '_':
        if (i + 1 < text.size() &&
            (text[i + 1] == '&' || text[i + 1] == '|' || text[i + 1] == 'X')) {
          a = Apply(op, a, b);
          b = 0;
          op = text[i + 1];
          i += 2;
          continue;
        }
        return fail(i);
      default:
        break;
    }
    int32_t value = 0;
    size_t length = 0;
    if (!ReadReference(f, text, i, value, length)) return fail(i);
    b = value;
    i += length;
  }
  if (stop) *stop = i;
  return Apply(op, a, b);
}

// ============================================================ [SECTION] Assignments

namespace {

// Upper case (the second byte of a double-byte character untouched), without
// blanks, tabs and full-width spaces.
std::string NormaliseStatements(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size() && text[i]; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsSjisLead(c) && i + 1 < text.size() && text[i + 1]) {
      if (!(c == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40)) {
        out += static_cast<char>(c);
        out += text[i + 1];
      }
      ++i;
      continue;
    }
    if (c == ' ' || c == '\t') continue;
    out += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
  }
  return out;
}

void AssignOne(TForm1& f, std::string_view st) {
  Banks& v = f.State.Vars;
  const char letter = st[0];
  const int digits = letter == 'T' ? 4 : letter == 'G' ? 1 : 3;
  const size_t header = 2 + digits;  // letter, digits, and the "=" (not tested)
  int n = 0;
  if (st.size() < header || !FixedNumber(st, 1, digits, n)) {
    Report(f, kAssignmentError);
    return;
  }
  const int32_t value = Evaluate(f, st.substr(header));
  switch (letter) {
    case 'V':
      v.Cells[kCellV + n] = value;
      break;
    case 'S':
      v.Cells[kCellS + n] = value;
      if (n == kSysSavePermission || n == kSysPlayerFunctions) Host(f).RefreshMenuStates();
      break;
    case 'G':
      v.Cells[kCellG + n] = value;
      break;
    case 'P': {
      const int32_t cell = v.Cells[kCellV + n];
      v.WriteCell(cell, value);
      if (cell == kCellS + kSysSavePermission || cell == kCellS + kSysPlayerFunctions)
        Host(f).RefreshMenuStates();
      break;
    }
    case 'F':
      if (value == 0 || value == 1) v.F.Put(n, value == 1);
      break;
    case 'E':
    case 'T':
      if (value != 0 && value != 1) {
        Report(f, kAssignmentError);
      } else if (letter == 'E') {
        v.E.Put(n, value == 1);
      } else {
        v.T.Put(n, value == 1);
      }
      break;
    default:
      Report(f, kAssignmentError);
      break;
  }
}

}  // namespace

void Assign(TForm1& f, std::string_view statements) {
  const std::string text = NormaliseStatements(statements);
  std::string_view rest(text);
  for (;;) {
    const size_t semi = rest.find(';');
    const std::string_view st = rest.substr(0, semi);
    if (!st.empty()) AssignOne(f, st);  // an empty statement (";;" or a final ";") does nothing
    if (semi == std::string_view::npos) break;
    rest.remove_prefix(semi + 1);
  }
}

// ============================================================ [SECTION] Conditions

bool Condition(TForm1& f, std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '(') ++i;
  std::string c;
  for (; i < text.size() && text[i] && text[i] != ')' && c.size() < 100; ++i) {
    const char ch = text[i];
    if (ch == ' ') continue;
    c += ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
  }
  const std::string_view v(c);
  size_t pos = 0;
  bool result = false;  // a first term without a comparison counts as false
  for (;;) {
    size_t stop = 0;
    const int32_t left = Evaluate(f, v.substr(pos), &stop);
    const size_t q = v.find_first_of("!<=>&|", pos + stop);
    size_t next = v.size();
    if (q != std::string_view::npos && std::strchr("!<=>", v[q])) {
      const char op = v[q];
      size_t r = q + 1;
      const bool withEqual = r < v.size() && v[r] == '=';
      if (withEqual) ++r;
      size_t stop2 = 0;
      const int32_t right = Evaluate(f, v.substr(r), &stop2);
      next = r + stop2;
      switch (op) {
        case '=':
          result = left == right;
          break;
        case '!':
          result = left != right;
          break;
        case '<':
          result = withEqual ? left <= right : left < right;
          break;
        case '>':
          result = withEqual ? left >= right : left > right;
          break;
      }
    } else if (q != std::string_view::npos) {
      next = q;  // no comparison before the connective: the term keeps the last value
    }
    if (next >= v.size()) return result;
    if (v[next] == '&' && !result) return false;
    if (v[next] == '|' && result) return true;
    pos = next + 1;
  }
}

// ============================================================ [SECTION] Argument list

namespace {

int32_t LeadingNumber(const char* text) {
  const char* p = text;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int64_t value = 0;
  while (IsDigit(*p)) {
    value = value * 10 + (*p++ - '0');
    if (value > INT32_MAX) value = int64_t{INT32_MAX} + 1;  // keeps the sign test below honest
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

int SplitList(InterpreterState& in, std::string_view text) {
  for (ListEntry& e : in.ListArgs) {
    e.Text[0] = '\0';
    e.Value = kListNoValue;
  }
  if (text.empty() || text[0] == '\0') return 0;
  int field = 0;
  int separators = 0;
  size_t length = 0;
  bool started = false;
  const auto finish = [&] {
    if (field < kListEntries) {
      ListEntry& e = in.ListArgs[field];
      e.Text[length] = '\0';
      const int32_t value = LeadingNumber(e.Text);
      if (e.Text[0] == '0' || value != 0) e.Value = value;
    }
  };
  for (size_t i = 0; i < text.size() && text[i]; ++i) {
    const char c = text[i];
    if (c == ',' || c == ':') {
      finish();
      ++field;
      ++separators;
      length = 0;
      started = false;
      continue;
    }
    if (!started && c == ' ') continue;
    started = true;
    if (field >= kListEntries) continue;
    // The text keeps at most 31 bytes, and a double-byte character whole.
    const bool lead = IsSjisLead(static_cast<unsigned char>(c)) && i + 1 < text.size() &&
                      text[i + 1] != '\0' && text[i + 1] != ',' && text[i + 1] != ':';
    const size_t need = lead ? 2 : 1;
    if (length + need <= kListTextSize - 1) {
      in.ListArgs[field].Text[length++] = c;
      if (lead) in.ListArgs[field].Text[length++] = text[i + 1];
    }
    if (lead) ++i;
  }
  finish();
  return separators + 1 < kListEntries ? separators + 1 : kListEntries;
}

// ============================================================ [SECTION] Commands

StepResult CmdCalc(TForm1& f, char*, char* args) {
  Assign(f, args);
  return kStepContinue;
}

// if (COND) THEN: THEN is a command or assignment line run in the same step,
// or a label to continue at.
StepResult CmdIf(TForm1& f, char* line, char* args) {
  if (!Condition(f, args)) return kStepEnd;
  constexpr size_t kScan = 200;
  char* p = args;
  size_t scanned = 0;
  while (scanned < kScan && *p && *p != ')') {
    ++p;
    ++scanned;
  }
  if (*p != ')') return kStepEnd;  // no closing bracket: nothing to run
  ++p;
  while (*p == ' ') ++p;
  if (*p == '*' || *p == '@' || *p == '!') {
    const size_t length = strnlen(p, kScan);
    if (length >= kScan) return kStepEnd;
    std::memmove(line, p, length + 1);
    return kStepRedispatch;
  }
  Go(f, p);
  return kStepEnd;
}

}  // namespace zk
