// Runs a game as the command line asks: in a window, or headless for tests.
#pragma once
#include "app/CommandLine.h"

namespace zk {

// Exit codes of the program.
enum ExitCode : int {
  kExitOk = 0,
  kExitOtherInstance = 1,
  kExitUsage = 2,
  kExitGameError = 3,  // the game could not start (for example, no game data)
  kExitNoDisplay = 4,
};

int RunApp(const Options& options);

}  // namespace zk
