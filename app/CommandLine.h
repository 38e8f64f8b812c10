// The program's command line.
#pragma once
#include <cstdint>
#include <string>

namespace zk {

struct Options {
  std::string gameDir;  // empty: the bundled demo
  bool headless = false;
  std::string eventsFile;
  int64_t runMs = -1;  // -1: no limit
  bool untilIdle = false;
  std::string dumpState;
  std::string screenshot;
  std::string saveDir;
  std::string configDir;
  int displayOverride = -1;  // -1 none, 0 window, 2 full screen
  bool version = false;
  bool help = false;
};

// Parses argv. On a bad command line returns false with a message naming the problem.
bool ParseCommandLine(int argc, char** argv, Options& out, std::string& error);
const char* UsageText();

}  // namespace zk
