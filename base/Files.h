// Whole-file and ranged reads, and writes that replace a file atomically.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// True when path names an existing regular file.
bool FileExists(const std::string& path);

// A file opened for reading, closed when it goes out of scope.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return f_ != nullptr; }
  // The length in bytes; 0 for anything but a regular file.
  uint64_t Size() const;
  // Reads up to size bytes at offset; out holds the bytes actually read
  // (fewer at the end of the file, none past it). False when the file is not
  // open or the offset cannot be reached.
  bool ReadAt(uint64_t offset, size_t size, std::vector<uint8_t>& out);

 private:
  FILE* f_;
};

// Reads up to size bytes at offset, as InputFile::ReadAt. False when the file
// cannot be opened.
bool ReadFileAt(const std::string& path, uint64_t offset, size_t size, std::vector<uint8_t>& out);

// Reads a whole file into out (emptied first). False when it cannot be opened
// or a read fails.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);
bool ReadWholeFile(const std::string& path, std::string& out);

// Writes data to path through a temporary file in the same folder, flushed to
// disk and renamed over the old file, so a crash leaves either the old or the
// new content. Missing folders are created. False on failure, with the old
// file kept.
bool WriteFileAtomic(const std::string& path, const void* data, size_t size);
inline bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> data) {
  return WriteFileAtomic(path, data.data(), data.size());
}
inline bool WriteFileAtomic(const std::string& path, std::string_view text) {
  return WriteFileAtomic(path, text.data(), text.size());
}

}  // namespace zk
