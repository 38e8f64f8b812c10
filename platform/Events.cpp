#include "platform/Events.h"

#include <cstring>
#include <strings.h>

namespace platform {

namespace {
struct Named {
  const char* name;
  int key;
};
constexpr Named kNamed[] = {
    {"Enter", kKeyEnter}, {"Escape", kKeyEscape}, {"Space", kKeySpace},
    {"Tab", kKeyTab},     {"Backspace", kKeyBackspace}, {"Up", kKeyUp},
    {"Down", kKeyDown},   {"Left", kKeyLeft},     {"Right", kKeyRight},
    {"Ctrl", kKeyCtrl},   {"Shift", kKeyShift},
};
}  // namespace

int KeyFromName(const std::string& name) {
  if (name.size() == 1) {
    char c = name[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    return kKeyNone;
  }
  for (const Named& n : kNamed)
    if (strcasecmp(n.name, name.c_str()) == 0) return n.key;
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return kKeyNone;
      n = n * 10 + (name[i] - '0');
    }
    if (n >= 1 && n <= 12) return kKeyF1 + n - 1;
  }
  return kKeyNone;
}

const char* KeyName(int key) {
  static char single[2];
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    single[0] = static_cast<char>(key);
    return single;
  }
  for (const Named& n : kNamed)
    if (n.key == key) return n.name;
  static const char* kF[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                             "F7", "F8", "F9", "F10", "F11", "F12"};
  if (key >= kKeyF1 && key <= kKeyF12) return kF[key - kKeyF1];
  return "None";
}

}  // namespace platform
