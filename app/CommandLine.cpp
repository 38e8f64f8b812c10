#include "app/CommandLine.h"

#include <cstdlib>
#include <cstring>

namespace zk {

const char* UsageText() {
  return "usage: zelkor [options] [GAME_DIR]\n"
         "  GAME_DIR                          folder with the zk_*.zlk archives (default: the demo)\n"
         "  --headless                        no window, no sound device, virtual clock\n"
         "  --events FILE                     timed input for --headless\n"
         "  --run-ms N                        stop after N ms of (virtual) time\n"
         "  --until-idle                      stop when the script has ended, or waits for the\n"
         "                                    player and no scripted event is left\n"
         "  --dump-state FILE                 on exit write the engine state as JSON\n"
         "  --screenshot FILE                 on exit write the game screen as an 800 x 600 PNG\n"
         "  --save-dir DIR                    folder for save files\n"
         "  --config-dir DIR                  folder for settings\n"
         "  --fullscreen, --window            override the display setting for this run\n"
         "  --version, --help\n";
}

bool ParseCommandLine(int argc, char** argv, Options& out, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& dst) {
      if (i + 1 >= argc) {
        error = "option " + a + " needs a value";
        return false;
      }
      dst = argv[++i];
      return true;
    };
    if (a == "--headless") {
      out.headless = true;
    } else if (a == "--events") {
      if (!value(out.eventsFile)) return false;
    } else if (a == "--run-ms") {
      std::string v;
      if (!value(v)) return false;
      char* end = nullptr;
      long long n = std::strtoll(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || n < 0 || n > UINT32_MAX / 2) {
        error = "--run-ms needs a number of milliseconds, not '" + v + "'";
        return false;
      }
      out.runMs = n;
    } else if (a == "--until-idle") {
      out.untilIdle = true;
    } else if (a == "--dump-state") {
      if (!value(out.dumpState)) return false;
    } else if (a == "--screenshot") {
      if (!value(out.screenshot)) return false;
    } else if (a == "--save-dir") {
      if (!value(out.saveDir)) return false;
    } else if (a == "--config-dir") {
      if (!value(out.configDir)) return false;
    } else if (a == "--fullscreen") {
      out.displayOverride = 2;
    } else if (a == "--window") {
      out.displayOverride = 0;
    } else if (a == "--version") {
      out.version = true;
    } else if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a.size() > 1 && a[0] == '-') {
      error = "unknown option " + a;
      return false;
    } else if (out.gameDir.empty()) {
      out.gameDir = a;
    } else {
      error = "more than one game folder given: " + a;
      return false;
    }
  }
  if (!out.eventsFile.empty() && !out.headless) {
    error = "--events needs --headless";
    return false;
  }
  return true;
}

}  // namespace zk
