// Whole-file and ranged reads, and writes that replace a file atomically.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
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

// How a read of a whole regular file went.
enum class ReadStatus {
  Ok,
  Missing,     // nothing at the path (or a folder of it is missing)
  NotRegular,  // a folder, FIFO, device or socket: refused without reading
  Failed,      // it exists but cannot be opened or read
};

// Reads a whole regular file into text (emptied first). Never blocks: the
// file is opened without waiting, so a FIFO in its place is refused rather
// than waited on. error, when given, receives a message for anything but Ok
// and Missing.
ReadStatus ReadRegularFile(const std::string& path, std::string& text,
                           std::string* error = nullptr);

// What identifies one version of a file: a rewrite through WriteFileAtomic
// always gives a new inode, so equal stamps mean unchanged content.
struct FileStamp {
  bool exists = false;
  uint64_t device = 0, inode = 0, size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};
// The stamp of what path names, following symbolic links.
FileStamp StampOf(const std::string& path);

// Writes data to path through a temporary file in the same folder, flushed to
// disk and renamed over the old file, so a crash leaves either the old or the
// new content. Where the system allows, the temporary file has no name until
// it is complete, so a killed write leaves nothing behind; temporaries left
// by killed writes of earlier runs are removed first. Missing folders are
// created. A symbolic link is written through to the file it names, and a
// file that is replaced keeps its permission bits. Anything but a regular
// file at the path is refused. False on failure, with the old file kept and
// error, when given, set to a message naming the path.
bool WriteFileAtomic(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);
inline bool WriteFileAtomic(const std::string& path, std::span<const uint8_t> data,
                            std::string* error = nullptr) {
  return WriteFileAtomic(path, data.data(), data.size(), error);
}
inline bool WriteFileAtomic(const std::string& path, std::string_view text,
                            std::string* error = nullptr) {
  return WriteFileAtomic(path, text.data(), text.size(), error);
}

// Removes the temporary files that writes of path by processes no longer
// running left behind ("<name>.tmp<pid>" beside it).
void RemoveStaleTemporaries(const std::string& path);

// A file the program keeps for the player (settings, saves) that could not be
// read or written. Each file is reported once per run, however often it
// fails: on stderr, and to the sink the program set (the window shows it as a
// notice), so the player knows that progress or options are not kept.
void ReportFileProblem(const std::string& path, const std::string& message);
// Where reports go besides stderr; an empty sink sends them to stderr only.
void SetFileProblemSink(std::function<void(const std::string&)> sink);

}  // namespace zk
