#include "app/SingleInstance.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace zk {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

// A folder of this user that no one else may write to or look into.
bool PrivateFolder(const struct stat& st) {
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

}  // namespace

std::string InstanceLockPath(std::string& error) {
  const std::string name = "ZELKORENGINE-" + std::to_string(::getuid()) + ".lock";
  struct stat st;
  const std::string runtime = Env("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime[0] == '/' && ::stat(runtime.c_str(), &st) == 0 &&
      PrivateFolder(st))
    return runtime + "/" + name;

  std::string cache = Env("XDG_CACHE_HOME");
  if (cache.empty() || cache[0] != '/') {
    const std::string home = HomeFolder();
    if (home.empty()) {
      error = "no runtime folder and no home folder";
      return {};
    }
    cache = home + "/.cache";
  }
  std::error_code ec;
  std::filesystem::create_directories(cache, ec);
  const std::string folder = cache + "/zelkor";
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = folder + ": " + std::strerror(errno);
    return {};
  }
  // Checked without following a link: the folder itself must be ours.
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
    error = folder + " is not a folder of this user";
    return {};
  }
  if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
    error = folder + ": " + std::strerror(errno);
    return {};
  }
  return folder + "/" + name;
}

LockResult TakeInstanceLock(const std::string& path, std::string& error) {
  // O_NONBLOCK: a FIFO put in its place must not hold up the start.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return LockResult::Unavailable;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
    ::close(fd);
    error = path + " is not a file of this user";
    return LockResult::Unavailable;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int saved = errno;
    ::close(fd);
    if (saved == EWOULDBLOCK) return LockResult::HeldByAnother;
    error = path + ": " + std::strerror(saved);
    return LockResult::Unavailable;
  }
  // The descriptor stays open (and locked) until the process ends.
  return LockResult::Acquired;
}

bool AcquireSingleInstance() {
  std::string error;
  const std::string path = InstanceLockPath(error);
  const LockResult result = path.empty() ? LockResult::Unavailable : TakeInstanceLock(path, error);
  if (result == LockResult::Unavailable) {
    // Not being able to tell is no reason to refuse to play.
    std::fprintf(stderr, "zelkor: cannot check for another running copy (%s)\n", error.c_str());
  }
  return result != LockResult::HeldByAnother;
}

}  // namespace zk
