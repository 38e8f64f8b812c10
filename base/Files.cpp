#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

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

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
  std::error_code ec;
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  const std::string tmp = path + ".tmp" + std::to_string(::getpid());
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const ssize_t w = ::write(fd, bytes + done, size - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      ::unlink(tmp.c_str());
      return false;
    }
    done += static_cast<size_t>(w);
  }
  // Closed even when the flush fails, so a failing disk does not leak
  // descriptors.
  const bool synced = ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!synced || !closed) {
    ::unlink(tmp.c_str());
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace zk
