#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

namespace zk {

namespace {

// Reads the rest of an open file into out in chunks.
template <class Container>
bool ReadAll(FILE* f, Container& out) {
  char buf[8192];  // stack pages once touched stay with the process
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  return !std::ferror(f);
}

template <class Container>
bool ReadWhole(const std::string& path, Container& out) {
  out.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  const bool ok = ReadAll(f, out);
  std::fclose(f);
  return ok;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

InputFile::InputFile(const std::string& path) : f_(std::fopen(path.c_str(), "rb")) {}

InputFile::~InputFile() {
  if (f_) std::fclose(f_);
}

uint64_t InputFile::Size() const {
  struct stat st;
  if (!f_ || fstat(fileno(f_), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<uint64_t>(st.st_size);
}

bool InputFile::ReadAt(uint64_t offset, size_t size, std::vector<uint8_t>& out) {
  out.clear();
  if (!f_) return false;
  const uint64_t length = Size();
  if (offset > length) return true;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(size, length - offset));
  if (fseeko(f_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  out.resize(want);
  out.resize(std::fread(out.data(), 1, want, f_));
  return true;
}

bool ReadFileAt(const std::string& path, uint64_t offset, size_t size, std::vector<uint8_t>& out) {
  out.clear();
  InputFile file(path);
  return file.ReadAt(offset, size, out);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  return ReadWhole(path, out);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  return ReadWhole(path, out);
}

ReadStatus ReadRegularFile(const std::string& path, std::string& text, std::string* error) {
  text.clear();
  auto fail = [&](ReadStatus status, const std::string& why) {
    if (error) *error = path + ": " + why;
    return status;
  };
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadStatus::Missing;
    return fail(ReadStatus::Failed, std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool folder = S_ISDIR(st.st_mode);
    ::close(fd);
    return fail(ReadStatus::NotRegular,
                folder ? "is a folder, not a file" : "is not a regular file");
  }
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      text.clear();
      return fail(ReadStatus::Failed, std::strerror(saved));
    }
    text.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return ReadStatus::Ok;
}

FileStamp StampOf(const std::string& path) {
  FileStamp stamp;
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.device = static_cast<uint64_t>(st.st_dev);
  stamp.inode = static_cast<uint64_t>(st.st_ino);
  stamp.size = static_cast<uint64_t>(st.st_size);
  stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

namespace {

// The file a chain of symbolic links ends at (path itself when it is no
// link). A relative link is taken from the folder it is in. Empty when the
// chain is too long to be anything but a loop.
std::string FollowLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p(path);
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p.string();
    std::error_code ec;
    fs::path target = fs::read_symlink(p, ec);
    if (ec) return p.string();
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return {};
}

std::string TemporaryName(const std::string& path, pid_t pid) {
  return path + ".tmp" + std::to_string(pid);
}

// Writes all of data to fd; false (errno set) when a write fails.
bool WriteAll(int fd, const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const ssize_t w = ::write(fd, bytes + done, size - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(w);
  }
  return true;
}

// Fills fd and makes it durable, with the given permission bits when keep
// is set. Closes fd. False with errno set when anything fails.
bool FillAndClose(int fd, const void* data, size_t size, bool keep, mode_t mode) {
  bool ok = WriteAll(fd, data, size);
  if (ok && keep) ok = ::fchmod(fd, mode) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  const int saved = errno;
  // Closed even when the flush fails, so a failing disk does not leak
  // descriptors.
  const bool closed = ::close(fd) == 0;
  if (!ok) errno = saved;
  return ok && closed;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path p(path);
  const std::string prefix = p.filename().string() + ".tmp";
  std::error_code ec;
  fs::directory_iterator it(p.has_parent_path() ? p.parent_path() : fs::path("."), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    // A writer still running (or one of another user) owns its file.
    if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat st;
    if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
  }
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size, std::string* error) {
  namespace fs = std::filesystem;
  auto fail = [&](const std::string& why) {
    if (error) *error = "cannot write " + path + ": " + why;
    return false;
  };
  const std::string target = FollowLinks(path);
  if (target.empty()) return fail(std::strerror(ELOOP));

  // A file being replaced passes on its permission bits; anything else in
  // its place is never replaced.
  struct stat st;
  bool keepMode = false;
  mode_t mode = 0;
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return fail("it is a folder");
    if (!S_ISREG(st.st_mode)) return fail("it is not a regular file");
    keepMode = true;
    mode = st.st_mode & 07777;
  }

  const fs::path p(target);
  const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return fail(ec.message());
  RemoveStaleTemporaries(target);

  const std::string tmp = TemporaryName(target, ::getpid());
  bool named = false;
  // First an unnamed file, given its name only once complete.
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
  if (fd >= 0) {
    if (!WriteAll(fd, data, size) || (keepMode && ::fchmod(fd, mode) != 0) || ::fsync(fd) != 0) {
      const int saved = errno;
      ::close(fd);
      return fail(std::strerror(saved));
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    named = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tmp.c_str(), AT_SYMLINK_FOLLOW) == 0;
    if (!named && errno == EEXIST) {
      ::unlink(tmp.c_str());
      named = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tmp.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    ::close(fd);
  }
  // Where that is not possible, a named temporary file.
  if (!named) {
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return fail(std::strerror(errno));
    if (!FillAndClose(fd, data, size, keepMode, mode)) {
      const int saved = errno;
      ::unlink(tmp.c_str());
      return fail(std::strerror(saved));
    }
  }
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    const int saved = errno;
    ::unlink(tmp.c_str());
    return fail(std::strerror(saved));
  }
  return true;
}

namespace {

struct ProblemReports {
  std::mutex mutex;
  std::set<std::string> reported;
  std::function<void(const std::string&)> sink;
};

ProblemReports& Reports() {
  static ProblemReports reports;
  return reports;
}

}  // namespace

void ReportFileProblem(const std::string& path, const std::string& message) {
  ProblemReports& r = Reports();
  std::function<void(const std::string&)> sink;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    if (!r.reported.insert(path).second) return;
    sink = r.sink;
  }
  std::fprintf(stderr, "zelkor: %s\n", message.c_str());
  if (sink) sink(message);
}

void SetFileProblemSink(std::function<void(const std::string&)> sink) {
  std::lock_guard<std::mutex> lock(Reports().mutex);
  Reports().sink = std::move(sink);
}

}  // namespace zk
