// The single-instance guard, with two real processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Run.h"
#include "app/SingleInstance.h"

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

// Sets environment variables for one scope and puts back what was there.
class ScopedEnv {
 public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        unsetenv(it->first.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(SingleInstance, TheLockLivesInAPrivateFolderOfTheUser) {
  namespace fs = std::filesystem;
  const std::string name = "ZELKORENGINE-" + std::to_string(getuid()) + ".lock";
  TempDir dir;
  const std::string shared = dir / "shared", cache = dir / "cache";
  fs::create_directories(shared);
  fs::permissions(shared, fs::perms::all);  // like /tmp, without the sticky bit
  struct Case {
    const char* situation;
    const char* runtime;  // XDG_RUNTIME_DIR, nullptr for unset
    std::string folder;   // where the lock is expected
  };
  const Case cases[] = {
      {"a private runtime folder is used", dir.Path().c_str(), dir.Path()},
      {"without a runtime folder, the cache", nullptr, cache + "/zelkor"},
      {"a runtime folder others can write to is passed over", shared.c_str(), cache + "/zelkor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.situation);
    ScopedEnv env;
    env.Set("XDG_RUNTIME_DIR", c.runtime);
    env.Set("XDG_CACHE_HOME", cache.c_str());
    std::string error;
    EXPECT_EQ(InstanceLockPath(error), c.folder + "/" + name) << error;
    struct stat st;
    ASSERT_EQ(lstat(c.folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
  }

  // A cache folder made open to others is closed again.
  fs::permissions(cache + "/zelkor", fs::perms::all);
  {
    ScopedEnv env;
    env.Set("XDG_RUNTIME_DIR", nullptr);
    env.Set("XDG_CACHE_HOME", cache.c_str());
    std::string error;
    EXPECT_EQ(InstanceLockPath(error), cache + "/zelkor/" + name);
    EXPECT_EQ(fs::status(cache + "/zelkor").permissions(), fs::perms::owner_all);
  }
}

TEST(SingleInstance, TheLockFileIsNeverFollowedOrTakenFromAnother) {
  TempDir dir;
  WriteText(dir / "victim", "keep");
  symlink((dir / "victim").c_str(), (dir / "link.lock").c_str());
  mkfifo((dir / "fifo.lock").c_str(), 0600);
  std::string error;
  EXPECT_EQ(TakeInstanceLock(dir / "link.lock", error), LockResult::Unavailable);
  EXPECT_EQ(TakeInstanceLock(dir / "fifo.lock", error), LockResult::Unavailable);
  EXPECT_NE(error.find("fifo.lock"), std::string::npos) << error;
  std::string text;
  ASSERT_TRUE(ReadText(dir / "victim", text));
  EXPECT_EQ(text, "keep");
  // Taken once; a second taker (as another process would) finds it held.
  EXPECT_EQ(TakeInstanceLock(dir / "ok.lock", error), LockResult::Acquired);
  EXPECT_EQ(TakeInstanceLock(dir / "ok.lock", error), LockResult::HeldByAnother);
}

}  // namespace
}  // namespace zk::test
