// Script loading, labels, block searches, calls and returns, and the flow
// commands (`go`, `chain`, `call`, `end`, `switch`, `cjmp`, `backto`, `exit`,
// `vend`).
//
// [SECTION] Loading
// [SECTION] Labels and block searches
// [SECTION] Calls
// [SECTION] Commands
// [SECTION] Developer script folder list
#include "script/Flow.h"

#include <cstring>
#include <filesystem>

#include "base/Sjis.h"
#include "core/TForm1.h"
#include "script/CommandHandlers.h"
#include "script/Expressions.h"
#include "script/Script.h"
#include "services/Services.h"

namespace zk {

namespace {

char Fold(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Copies text into a fixed name field, cut to the field (keeping a
// double-byte character whole).
void CopyName(char (&field)[kScriptNameSize], std::string_view text) {
  size_t n = 0;
  while (n < text.size() && text[n]) {
    const size_t width = IsSjisLead(static_cast<unsigned char>(text[n])) ? 2 : 1;
    if (n + width > kScriptNameSize - 1) break;
    n += width;
  }
  if (n > text.size()) n = text.size();
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

std::string_view FieldText(const char (&field)[kScriptNameSize]) {
  return std::string_view(field, strnlen(field, kScriptNameSize));
}

// The text of the line that starts at offset, without its NUL.
std::string_view LineAt(const InterpreterState& in, int32_t offset) {
  if (offset < 0 || offset >= in.ScriptSize) return {};
  const char* p = reinterpret_cast<const char*>(in.ScriptBuffer) + offset;
  return std::string_view(p, strnlen(p, static_cast<size_t>(in.ScriptSize - offset)));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

}  // namespace

// ============================================================ [SECTION] Loading

bool LoadScript(TForm1& f, std::string_view name, int target) {
  InterpreterState& in = f.State.Interp;
  in.PendingText = nullptr;
  name = name.substr(0, strnlen(name.data(), name.size()));
  const std::string upper = UpperSjis(name);
  std::vector<uint8_t> bytes;
  // A name longer than the name fields cannot be an archive entry; a script
  // larger than the buffer is refused rather than cut.
  const bool found = !upper.empty() && upper.size() < kScriptNameSize &&
                     f.Game.Arc.ReadScript(upper, bytes) && bytes.size() <= kScriptBufferSize;
  if (!found) {
    if (target == kLoadScript) {
      in.ScriptSize = 0;
    } else {
      in.SideSize = 0;
    }
    return false;
  }
  MarkSceneSeen(f, upper);
  uint8_t* buffer = target == kLoadScript ? in.ScriptBuffer : in.SideBuffer;
  std::memcpy(buffer, bytes.data(), bytes.size());
  if (bytes.size() < kScriptBufferSize) buffer[bytes.size()] = 0;
  const int32_t size = static_cast<int32_t>(bytes.size());
  if (target == kLoadScript) {
    CopyName(in.LoadedScript, name);
    in.ScriptSize = size;
    in.ScriptPos = 0;
    in.NeedLine = true;
    in.ScriptRunning = true;
    f.State.Vars.S(kSysBacktoOffset) = 0;
    f.State.Shell.ScriptEnded = false;
  } else {
    in.SideSize = size;
    in.SideRead = 0;
  }
  return true;
}

void ScriptStartReset(TForm1& f) {
  WaitState& w = f.State.Wait;
  w.CharDelay = 1;
  w.PageFinish = false;
  w.ClickWait = ClickWait::None;
  w.WaitTicks = 0;
  f.State.Mode.ChoiceMode = ChoiceMode::None;
  f.State.Interp.Column = 0;
  f.State.Interp.Row = 0;
}

void StartMainScript(TForm1& f) {
  InterpreterState& in = f.State.Interp;
  in.CallDepth = 0;
  in.CurrentScript[0] = '\0';
  ScriptStartReset(f);
  LoadScript(f, "main", kLoadScript);
}

bool ScriptFinished(const TForm1& f) {
  return !f.State.Interp.ScriptRunning || f.State.Shell.ScriptEnded;
}

// ============================================================ [SECTION] Labels and block searches

int32_t LineAfter(const InterpreterState& in, int32_t offset) {
  if (offset < 0) offset = 0;
  if (offset >= in.ScriptSize) return in.ScriptSize;
  const int32_t next = offset + static_cast<int32_t>(LineAt(in, offset).size()) + 1;
  return next > in.ScriptSize ? in.ScriptSize : next;
}

int32_t FindLabel(const InterpreterState& in, std::string_view name) {
  const uint8_t* b = in.ScriptBuffer;
  for (int32_t p = 0; p < in.ScriptSize; ++p) {
    if (b[p] != ':') continue;
    if (EqualNoCase(LineAt(in, p + 1), name)) return LineAfter(in, p);
  }
  return -1;
}

bool Go(TForm1& f, std::string_view label) {
  InterpreterState& in = f.State.Interp;
  const int32_t at = FindLabel(in, label);
  if (at < 0) return false;
  in.ScriptPos = at;
  in.NeedLine = true;
  return true;
}

int32_t NextBlockLine(const InterpreterState& in, int32_t start, char c) {
  const uint8_t* b = in.ScriptBuffer;
  for (int32_t p = start < 0 ? 0 : start; p < in.ScriptSize; ++p)
    if (b[p] == static_cast<uint8_t>(c) && (p == 0 || b[p - 1] == 0)) return p;
  return kNotFound;
}

int32_t NamedBlockEnd(const InterpreterState& in, int32_t start, std::string_view name) {
  const uint8_t* b = in.ScriptBuffer;
  for (int32_t p = start < 0 ? 0 : start; p + 1 < in.ScriptSize; ++p)
    if (b[p] == '}' && b[p + 1] == ':' && EqualNoCase(LineAt(in, p + 2), name)) return p;
  return kNotFound;
}

int32_t NamedBlockStart(const InterpreterState& in, int32_t start, std::string_view name) {
  const uint8_t* b = in.ScriptBuffer;
  for (int32_t p = start < 0 ? 0 : start; p + 1 < in.ScriptSize; ++p) {
    if (b[p] != '{' || b[p + 1] != ':') continue;
    const std::string_view rest = LineAt(in, p + 2);
    if (rest.size() >= name.size() && EqualNoCase(rest.substr(0, name.size()), name)) return p;
  }
  return kNotFound;
}

// ============================================================ [SECTION] Calls

void ReturnFromCall(TForm1& f) {
  InterpreterState& in = f.State.Interp;
  if (in.CallDepth > kCallStackDepth) in.CallDepth = kCallStackDepth;
  if (in.CallDepth <= 0) return;
  --in.CallDepth;
  const CallFrame frame = in.CallStack[in.CallDepth];
  const std::string name(FieldText(frame.Script));
  LoadScript(f, name, kLoadScript);
  CopyName(in.CurrentScript, name);
  in.ScriptPos = frame.ReturnOffset;
  in.NeedLine = true;
}

namespace {

// NAME[:LABEL]: the name runs to the first blank or ":"; the label is the
// rest of the line after the ":".
void SplitTarget(const char* args, std::string& name, std::string& label, bool& hasLabel) {
  const char* end = args;
  while (*end && *end != ' ' && *end != ':') ++end;
  name.assign(args, end);
  const char* colon = std::strchr(end, ':');
  hasLabel = colon != nullptr;
  label = hasLabel ? std::string(colon + 1) : std::string();
}

}  // namespace

// ============================================================ [SECTION] Commands

StepResult CmdGo(TForm1& f, char*, char* args) {
  Go(f, args);
  return kStepContinue;
}

StepResult CmdChain(TForm1& f, char*, char* args) {
  InterpreterState& in = f.State.Interp;
  std::string name, label;
  bool hasLabel = false;
  SplitTarget(args, name, label, hasLabel);
  in.CallDepth = 0;
  CopyName(in.CurrentScript, name);
  ScriptStartReset(f);
  LoadScript(f, name, kLoadScript);
  if (hasLabel) Go(f, label);
  return kStepEnd;
}

StepResult CmdCall(TForm1& f, char*, char* args) {
  InterpreterState& in = f.State.Interp;
  // The stack holds nine callers; a tenth call is refused and the calling
  // script goes on with its next line.
  if (in.CallDepth < 0) in.CallDepth = 0;
  if (in.CallDepth >= kCallStackDepth) return kStepEnd;
  std::string name, label;
  bool hasLabel = false;
  SplitTarget(args, name, label, hasLabel);
  CallFrame& frame = in.CallStack[in.CallDepth];
  frame.ReturnOffset = in.ScriptPos;
  // The start script runs without a current name; the return needs one.
  std::memcpy(frame.Script, in.CurrentScript[0] ? in.CurrentScript : in.LoadedScript,
              kScriptNameSize);
  if (args[0] == '$') {
    const int d = args[1] >= '0' && args[1] <= '9' ? args[1] - '0' : 0;
    const std::string text = f.State.Vars.GetString(d);
    CopyName(in.CurrentScript, text);
    if (LoadScript(f, text, kLoadScript)) {
      ScriptStartReset(f);
      ++in.CallDepth;
    }
  } else if (LoadScript(f, name, kLoadScript)) {
    CopyName(in.CurrentScript, name);
    ScriptStartReset(f);
    ++in.CallDepth;
  }
  if (hasLabel) Go(f, label);
  return kStepEnd;
}

StepResult CmdEnd(TForm1& f, char*, char*) {
  if (f.State.Interp.CallDepth > 0) {
    ReturnFromCall(f);
  } else if (f.State.Mode.ReplayKind == ReplayKind::CgViewer ||
             f.State.Mode.ReplayKind == ReplayKind::Recollection) {
    EndReplay(f);
  }
  return kStepEnd;
}

StepResult CmdExit(TForm1& f, char*, char*) {
  if (f.State.Mode.ReplayKind == ReplayKind::CgViewer ||
      f.State.Mode.ReplayKind == ReplayKind::Recollection)
    EndReplay(f);
  return kStepEnd;
}

StepResult CmdVend(TForm1& f, char* line, char* args) {
  return CmdExit(f, line, args);
}

StepResult CmdBackto(TForm1& f, char*, char*) {
  f.State.Vars.S(kSysBacktoOffset) = f.State.Interp.LineStart;
  return kStepContinue;
}

// switch: the first "{" case whose condition holds (or the default "{")
// between here and the end of the construct.
StepResult CmdSwitch(TForm1& f, char*, char* args) {
  InterpreterState& in = f.State.Interp;
  const uint8_t* b = in.ScriptBuffer;
  char* nameEnd = args;
  while (*nameEnd && *nameEnd != ' ') ++nameEnd;
  const std::string name(args, nameEnd);
  if (name.empty()) {
    const int32_t end = NextBlockLine(in, in.ScriptPos, '}');
    for (int32_t p = in.ScriptPos;;) {
      const int32_t q = NextBlockLine(in, p, '{');
      if (q >= end) break;
      const std::string_view rest = LineAt(in, q + 1);
      if (rest.empty() || (b[q + 1] == '(' && Condition(f, rest))) {
        in.ScriptPos = LineAfter(in, q);
        return kStepEnd;
      }
      p = q + 1;
    }
    in.ScriptPos = end;
    return kStepEnd;
  }
  const int32_t end = NamedBlockEnd(in, in.ScriptPos, name);
  for (int32_t p = in.ScriptPos;;) {
    const int32_t q = NamedBlockStart(in, p, name);
    if (q >= end) break;
    const std::string_view rest = LineAt(in, q + 2).substr(name.size());
    if (rest.empty() || (rest[0] == '(' && Condition(f, rest))) {
      in.ScriptPos = LineAfter(in, q);
      return kStepEnd;
    }
    p = q + 1;
  }
  in.ScriptPos = end;
  return kStepEnd;
}

// cjmp [EXPR]: runs the block numbered by the selector (S006 without an
// argument), then goes on after the construct's "}" line.
StepResult CmdCjmp(TForm1& f, char*, char* args) {
  InterpreterState& in = f.State.Interp;
  const int32_t selector = *args ? Evaluate(f, args) : f.State.Vars.S(kSysSetNameResult);
  if (selector < 0) return kStepContinue;
  const int32_t close = NextBlockLine(in, in.ScriptPos, '}');
  const int32_t end = close == kNotFound ? kNotFound : LineAfter(in, close);
  int32_t p = in.ScriptPos;
  for (int32_t k = 0;; ++k) {
    const int32_t q = NextBlockLine(in, p, '{');
    if (q >= end) {
      in.ScriptPos = end;
      break;
    }
    if (k == selector) {
      in.ScriptPos = LineAfter(in, q);
      break;
    }
    p = q + 1;
  }
  return kStepContinue;
}

// ============================================================ [SECTION] Developer script folder
// list

void ScanScriptFolder(const std::string& folder, ScriptFolderList& list) {
  namespace fs = std::filesystem;
  if (folder.empty()) return;
  std::error_code ec;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string file = it->path().filename().string();
    if (file.size() < 2 || UpperSjis(file.substr(file.size() - 2)) != ".S") continue;
    list.Paths.push_back(it->path().string());
    list.Names.push_back(file.substr(0, file.size() - 2));
  }
}

void RebuildScriptFolderList(std::string folder, ScriptFolderList& list,
                             const std::function<std::string()>& chooseFolder,
                             const std::function<void(const std::string&)>& storeFolder) {
  list = ScriptFolderList{};
  for (;;) {
    ScanScriptFolder(folder, list);
    for (const std::string& n : list.Names)
      if (EqualNoCase(n, "_CONFIG")) return;
    folder = chooseFolder ? chooseFolder() : std::string();
    if (folder.empty()) return;
    if (storeFolder) storeFolder(folder);
  }
}

}  // namespace zk
