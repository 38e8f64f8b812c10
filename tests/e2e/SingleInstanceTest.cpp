// The single-instance guard, with two real processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "Run.h"

namespace zk::test {
namespace {

std::string Zelkor() {
  return BinaryDir() + "/zelkor";
}

// Whether some process holds a flock on the file.
bool FlockHeld(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  std::ifstream locks("/proc/locks");
  const std::string inode = ":" + std::to_string(st.st_ino) + " ";
  for (std::string line; std::getline(locks, line);)
    if (line.find("FLOCK") != std::string::npos && line.find(inode) != std::string::npos)
      return true;
  return false;
}

TEST(SingleInstance, ASecondInstanceExitsWithOneAndShowsNothing) {
  TempDir dir;
  // Both instances share a private runtime folder (where the lock lives) and
  // use SDL's dummy video driver, so no display is needed.
  std::string env =
      "XDG_RUNTIME_DIR=" + dir.Path() + " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy";
  pid_t first = fork();
  ASSERT_GE(first, 0);
  if (first == 0) {
    setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string cfg = dir.Path();
    execl(Zelkor().c_str(), "zelkor", "--config-dir", cfg.c_str(), "--save-dir", cfg.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Wait until the first instance holds the lock (a loaded machine can take
  // seconds to start a debug or sanitizer build). The lock is looked up in
  // /proc/locks: probing it with a lock of our own could make the first
  // instance find it held and leave as a second one.
  const std::string lockFile = dir / ("ZELKORENGINE-" + std::to_string(getuid()) + ".lock");
  bool held = false;
  for (int i = 0; i < 1500 && !held; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    held = FlockHeld(lockFile);
  }
  std::string out;
  int rc = -1;
  // Without the lock held the second instance would play on: never start it
  // then, and never let it run for long.
  if (held)
    rc = RunCommand("timeout 60 env " + env + " " + Zelkor() + " --config-dir " + dir.Path() +
                        " --save-dir " + dir.Path(),
                    &out);
  kill(first, SIGKILL);
  int status = 0;
  waitpid(first, &status, 0);
  ASSERT_TRUE(held) << "the first instance never took the lock";
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace zk::test
