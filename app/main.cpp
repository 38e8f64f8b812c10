// zelkor: plays a game from its archives, in a window or headless.
#include <cstdio>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/App.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Large buffers (surfaces, decoded pictures) always get pages of their own
  // and give them back when freed. By default the allocator raises this
  // limit after the first such buffer is freed and then serves them from
  // the heap, where freed memory stays with the process and calloc must
  // clear reused memory by writing it.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
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
