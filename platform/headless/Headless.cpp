#include "platform/headless/Headless.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <strings.h>

namespace platform {

// ---------------------------------------------------------------- events file

namespace {

bool ParseInt(const std::string& s, long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtol(s.c_str(), &end, 10);
  return *end == '\0' && errno == 0;
}

// What an events-file line gives its verb: the words after the verb ('#'
// ends them), the whole rest of the line for free text, and the event with
// its time set.
struct VerbLine {
  const std::vector<std::string>& args;
  const std::string& rest;
  TimedEvent te;
};

// X Y and an optional "right": a pointer position on the game screen, as a
// window reports them.
bool ReadPoint(const VerbLine& v, Event& e) {
  long x, y;
  if (!ParseInt(v.args[0], x) || !ParseInt(v.args[1], y)) return false;
  if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return false;
  e.x = static_cast<int>(x);
  e.y = static_cast<int>(y);
  if (v.args.size() > 2) {
    if (v.args[2] != "right") return false;
    e.right = true;
  }
  return true;
}

bool BuildButton(const VerbLine& v, std::vector<TimedEvent>& out, bool down, bool up) {
  TimedEvent te = v.te;
  if (!ReadPoint(v, te.event)) return false;
  if (down) {
    te.event.type = EventType::MouseDown;
    out.push_back(te);
  }
  if (up) {
    te.event.type = EventType::MouseUp;
    out.push_back(te);
  }
  return true;
}

bool BuildClick(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildButton(v, out, true, true);
}
bool BuildDown(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildButton(v, out, true, false);
}
bool BuildUp(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildButton(v, out, false, true);
}

bool BuildMove(const VerbLine& v, std::vector<TimedEvent>& out) {
  TimedEvent te = v.te;
  if (!ReadPoint(v, te.event)) return false;
  te.event.type = EventType::MouseMove;
  out.push_back(te);
  return true;
}

bool BuildWheel(const VerbLine& v, std::vector<TimedEvent>& out) {
  long d;
  if (!ParseInt(v.args[0], d) || (d != 1 && d != -1)) return false;
  TimedEvent te = v.te;
  te.event.type = EventType::Wheel;
  te.event.delta = static_cast<int>(d);
  out.push_back(te);
  return true;
}

// The character a key produces, as a key press; 0 for none.
int KeyCharacter(int key) {
  if (key >= 'A' && key <= 'Z') return key - 'A' + 'a';
  if (key >= '0' && key <= '9') return key;
  if (key == kKeyEnter) return '\r';
  if (key == kKeyBackspace) return '\b';
  if (key == kKeyEscape) return 0x1b;
  if (key == kKeySpace) return ' ';
  if (key == kKeyTab) return '\t';
  return 0;
}

bool BuildKey(const VerbLine& v, std::vector<TimedEvent>& out, bool down, bool up) {
  TimedEvent te = v.te;
  Event& e = te.event;
  e.key = KeyFromName(v.args[0]);
  if (e.key == kKeyNone) return false;
  if (down) {
    e.type = EventType::KeyDown;
    out.push_back(te);
  }
  if (down && up) {
    if (const int ch = KeyCharacter(e.key)) {
      TimedEvent press = te;
      press.event.type = EventType::KeyPress;
      press.event.ch = ch;
      out.push_back(press);
    }
  }
  if (up) {
    e.type = EventType::KeyUp;
    out.push_back(te);
  }
  return true;
}

bool BuildKeyPress(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildKey(v, out, true, true);
}
bool BuildKeyDown(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildKey(v, out, true, false);
}
bool BuildKeyUp(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildKey(v, out, false, true);
}

bool BuildText(const VerbLine& v, std::vector<TimedEvent>& out, EventType type,
               const std::string& text) {
  TimedEvent te = v.te;
  te.event.type = type;
  te.event.text = text;
  out.push_back(te);
  return true;
}

bool BuildAnswer(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildText(v, out, EventType::Answer, v.rest);
}
bool BuildScreenshot(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildText(v, out, EventType::Screenshot, v.args[0]);
}
bool BuildDump(const VerbLine& v, std::vector<TimedEvent>& out) {
  return BuildText(v, out, EventType::Dump, v.args[0]);
}

bool BuildClose(const VerbLine& v, std::vector<TimedEvent>& out) {
  TimedEvent te = v.te;
  te.event.type = EventType::CloseRequest;
  out.push_back(te);
  return true;
}

// The verbs of the events file. The argument pattern gives the words the
// verb takes, blank-separated, "[...]" around one that may be left out;
// "TEXT" is free text, the rest of the line with any '#' in it. A line whose
// arguments do not fit the pattern, or that the builder refuses, fails with
// the verb's error.
struct EventVerb {
  const char* Verb;
  const char* Pattern;
  bool (*Build)(const VerbLine& v, std::vector<TimedEvent>& out);
  const char* Error;
};

const EventVerb kEventVerbs[] = {
    {"click", "X Y [right]", BuildClick, "expected X Y [right] on the 800 x 600 screen"},
    {"down", "X Y [right]", BuildDown, "expected X Y [right] on the 800 x 600 screen"},
    {"up", "X Y [right]", BuildUp, "expected X Y [right] on the 800 x 600 screen"},
    {"move", "X Y", BuildMove, "expected X Y on the 800 x 600 screen"},
    {"wheel", "+1|-1", BuildWheel, "expected +1 or -1"},
    {"key", "NAME", BuildKeyPress, "unknown key name"},
    {"keydown", "NAME", BuildKeyDown, "unknown key name"},
    {"keyup", "NAME", BuildKeyUp, "unknown key name"},
    {"answer", "TEXT", BuildAnswer, "expected an answer"},
    {"screenshot", "FILE", BuildScreenshot, "expected one file name"},
    {"dump", "FILE", BuildDump, "expected one file name"},
    {"close", "", BuildClose, "close takes no arguments"},
};

bool TakesText(const EventVerb& v) {
  return std::strcmp(v.Pattern, "TEXT") == 0;
}

// Whether the words fit the verb's pattern: as many as it names, less the
// bracketed ones at most.
bool FitsPattern(const EventVerb& v, const VerbLine& line) {
  if (TakesText(v)) return !line.rest.empty();
  std::istringstream words(v.Pattern);
  size_t least = 0, most = 0;
  for (std::string w; words >> w; ++most)
    if (w[0] != '[') ++least;
  return line.args.size() >= least && line.args.size() <= most;
}

}  // namespace

bool ParseEventScript(const std::string& text, std::vector<TimedEvent>& out, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    std::istringstream words(line);
    std::string msText, verb;
    if (!(words >> msText) || msText[0] == '#') continue;
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(lineNo) + ": " + why + ": " + line;
      return false;
    };
    long ms = 0;
    if (!ParseInt(msText, ms) || ms < 0 || ms > INT32_MAX)
      return fail("time is not a number of milliseconds");
    if (!(words >> verb)) return fail("missing verb");
    const EventVerb* v = nullptr;
    for (const EventVerb& candidate : kEventVerbs)
      if (verb == candidate.Verb) v = &candidate;
    if (!v) return fail("unknown verb '" + verb + "'");
    std::string rest;
    std::getline(words, rest);
    size_t b = rest.find_first_not_of(" \t");
    rest = b == std::string::npos ? "" : rest.substr(b);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
    // '#' starts a comment, except inside free text.
    std::string noComment = rest;
    if (!TakesText(*v)) noComment = noComment.substr(0, noComment.find('#'));
    std::vector<std::string> args;
    std::istringstream a(noComment);
    for (std::string w; a >> w;) args.push_back(w);
    TimedEvent te;
    te.atMs = static_cast<uint32_t>(ms);
    const VerbLine parsed{args, rest, te};
    if (!FitsPattern(*v, parsed) || !v->Build(parsed, out)) return fail(v->Error);
  }
  return true;
}

// ---------------------------------------------------------------- clock

bool HeadlessClock::PollEvent(Event& e) {
  if (queue_.empty() || queue_.front().atMs > now_) return false;
  e = std::move(queue_.front().event);
  queue_.pop_front();
  return true;
}

void HeadlessClock::WaitUntil(uint32_t deadlineMs) {
  uint32_t target = std::min(deadlineMs, NextEventMs());
  if (target > now_) now_ = target;
}

void HeadlessClock::AddEvents(const std::vector<TimedEvent>& events) {
  for (const TimedEvent& te : events) {
    auto it = std::upper_bound(queue_.begin(), queue_.end(), te.atMs,
                               [](uint32_t t, const TimedEvent& x) { return t < x.atMs; });
    queue_.insert(it, te);
  }
}

// ---------------------------------------------------------------- display

HeadlessDisplay::HeadlessDisplay() : frame_(kScreenStride * kScreenHeight, 0) {}

void HeadlessDisplay::SetToolbarEnabled(bool panel, bool quit, bool settings, bool save,
                                        bool load) {
  toolbarEnabled_[0] = panel;
  toolbarEnabled_[1] = quit;
  toolbarEnabled_[2] = settings;
  toolbarEnabled_[3] = save;
  toolbarEnabled_[4] = load;
}

// ---------------------------------------------------------------- dialogs

MsgResult HeadlessUi::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon) {
  shown_.push_back(caption + ": " + text);
  MsgResult first = buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
  if (answers_.empty()) return first;
  std::string a = answers_.front();
  answers_.pop_front();
  if (strcasecmp(a.c_str(), "cancel") == 0) return MsgResult::Cancel;
  if (strcasecmp(a.c_str(), "no") == 0) return MsgResult::No;
  if (strcasecmp(a.c_str(), "yes") == 0) return MsgResult::Yes;
  if (strcasecmp(a.c_str(), "ok") == 0) return MsgResult::Ok;
  return first;
}

int HeadlessUi::PopupMenu(const std::vector<MenuItem>& items, int, int) {
  if (answers_.empty()) return -1;
  std::string a = answers_.front();
  answers_.pop_front();
  char* end = nullptr;
  long row = std::strtol(a.c_str(), &end, 10);
  if (!a.empty() && *end == '\0') {
    if (row >= 0 && row < static_cast<long>(items.size()) && items[row].enabled &&
        items[row].visible)
      return static_cast<int>(row);
    return -1;
  }
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].caption == a && items[i].enabled && items[i].visible) return static_cast<int>(i);
  return -1;
}

}  // namespace platform
