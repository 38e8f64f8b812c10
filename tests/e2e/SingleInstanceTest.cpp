// The single-instance guard, with two real processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "Run.h"

namespace zk::test {
namespace {

std::string Zelkor() {
  return BinaryDir() + "/zelkor";
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
  // Wait until the first instance holds the lock.
  bool held = false;
  for (int i = 0; i < 200 && !held; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::string out;
    held = RunCommand("flock -n " + (dir / ("ZELKORENGINE-" + std::to_string(getuid()) + ".lock")) +
                          " true",
                      &out) == 1;
  }
  std::string out;
  int rc = RunCommand(
      env + " " + Zelkor() + " --config-dir " + dir.Path() + " --save-dir " + dir.Path(), &out);
  kill(first, SIGKILL);
  int status = 0;
  waitpid(first, &status, 0);
  ASSERT_TRUE(held) << "the first instance never took the lock";
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace zk::test
