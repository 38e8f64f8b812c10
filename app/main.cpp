// zelkor: plays a game from its archives, in a window or headless.
#include <cstdio>
#include <string>

#include "app/App.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
  zk::Options options;
  std::string error;
  if (!zk::ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "zelkor: %s\n%s", error.c_str(), zk::UsageText());
    return zk::kExitUsage;
  }
  if (options.help) {
    std::fputs(zk::UsageText(), stdout);
    return zk::kExitOk;
  }
  if (options.version) {
    std::printf("zelkor %s\n", ZELKOR_VERSION);
    return zk::kExitOk;
  }
  return zk::RunApp(options);
}
