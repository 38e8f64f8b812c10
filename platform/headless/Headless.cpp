#include "platform/headless/Headless.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
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

}  // namespace

bool ParseEventScript(const std::string& text, std::vector<TimedEvent>& out, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    size_t hash = line.find('#');
    // '#' starts a comment, except inside the free text of answer/screenshot/dump.
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
    std::string rest;
    std::getline(words, rest);
    size_t b = rest.find_first_not_of(" \t");
    rest = b == std::string::npos ? "" : rest.substr(b);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
    std::vector<std::string> args;
    {
      std::string noComment = rest;
      if (verb != "answer" && hash != std::string::npos) {
        size_t h = noComment.find('#');
        if (h != std::string::npos) noComment.resize(h);
      }
      std::istringstream a(noComment);
      std::string w;
      while (a >> w) args.push_back(w);
    }
    TimedEvent te;
    te.atMs = static_cast<uint32_t>(ms);
    Event& e = te.event;
    auto point = [&](size_t minArgs, bool allowRight) {
      if (args.size() < minArgs || args.size() > minArgs + (allowRight ? 1 : 0)) return false;
      long x, y;
      if (!ParseInt(args[0], x) || !ParseInt(args[1], y)) return false;
      // Pointer positions lie on the game screen, as a window reports them.
      if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return false;
      e.x = static_cast<int>(x);
      e.y = static_cast<int>(y);
      if (args.size() > minArgs) {
        if (args[minArgs] != "right") return false;
        e.right = true;
      }
      return true;
    };
    auto key = [&]() {
      if (args.size() != 1) return false;
      e.key = KeyFromName(args[0]);
      return e.key != kKeyNone;
    };
    if (verb == "click" || verb == "down" || verb == "up") {
      if (!point(2, true)) return fail("expected X Y [right] on the 800 x 600 screen");
      if (verb == "up") {
        e.type = EventType::MouseUp;
        out.push_back(te);
      } else {
        e.type = EventType::MouseDown;
        out.push_back(te);
        if (verb == "click") {
          e.type = EventType::MouseUp;
          out.push_back(te);
        }
      }
    } else if (verb == "move") {
      if (!point(2, false)) return fail("expected X Y on the 800 x 600 screen");
      e.type = EventType::MouseMove;
      out.push_back(te);
    } else if (verb == "wheel") {
      long d;
      if (args.size() != 1 || !ParseInt(args[0], d) || (d != 1 && d != -1))
        return fail("expected +1 or -1");
      e.type = EventType::Wheel;
      e.delta = static_cast<int>(d);
      out.push_back(te);
    } else if (verb == "key" || verb == "keydown" || verb == "keyup") {
      if (!key()) return fail("unknown key name");
      if (verb != "keyup") {
        e.type = EventType::KeyDown;
        out.push_back(te);
      }
      if (verb == "key") {
        // The character the key produces, as a key press.
        int ch = 0;
        if (e.key >= 'A' && e.key <= 'Z') ch = e.key - 'A' + 'a';
        else if (e.key >= '0' && e.key <= '9') ch = e.key;
        else if (e.key == kKeyEnter) ch = '\r';
        else if (e.key == kKeyBackspace) ch = '\b';
        else if (e.key == kKeyEscape) ch = 0x1b;
        else if (e.key == kKeySpace) ch = ' ';
        else if (e.key == kKeyTab) ch = '\t';
        if (ch) {
          Event p = e;
          p.type = EventType::KeyPress;
          p.ch = ch;
          out.push_back({te.atMs, p});
        }
      }
      if (verb != "keydown") {
        e.type = EventType::KeyUp;
        out.push_back(te);
      }
    } else if (verb == "answer") {
      if (rest.empty()) return fail("expected an answer");
      e.type = EventType::Answer;
      e.text = rest;
      out.push_back(te);
    } else if (verb == "screenshot" || verb == "dump") {
      if (args.size() != 1) return fail("expected one file name");
      e.type = verb == "dump" ? EventType::Dump : EventType::Screenshot;
      e.text = args[0];
      out.push_back(te);
    } else if (verb == "close") {
      if (!args.empty()) return fail("close takes no arguments");
      e.type = EventType::CloseRequest;
      out.push_back(te);
    } else {
      return fail("unknown verb '" + verb + "'");
    }
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
