#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace zk {

bool AcquireSingleInstance() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  if (!dir || !*dir) dir = std::getenv("TMPDIR");
  if (!dir || !*dir) dir = "/tmp";
  // Per user, so two players on one machine do not block each other.
  std::string path = std::string(dir) + "/ZELKORENGINE-" + std::to_string(::getuid()) + ".lock";
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // no lock possible: do not refuse to play
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  // The descriptor stays open (and locked) until the process ends.
  return true;
}

}  // namespace zk
