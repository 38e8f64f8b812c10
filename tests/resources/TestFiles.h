// Temporary folders and small fixtures for the resource tests.
#pragma once
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "resources/Archive.h"
#include "base/Bitmap.h"

namespace zk::test {

// A fresh folder removed again at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zk-test-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

inline void WriteArchiveFile(const std::string& path, IndexLayout layout,
                             const std::vector<ArchiveEntry>& entries, int width = 32) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!WriteArchive(layout, entries, width, bytes, &error) || !WriteFileAtomic(path, bytes))
    throw std::runtime_error("cannot write " + path + ": " + error);
}

// A script entry as stored: the plain bytes negated.
inline ArchiveEntry ScriptEntry(const std::string& name, std::string_view plain) {
  ArchiveEntry e{name, Bytes(plain)};
  NegateBytes(e.Data);
  return e;
}

// Smooth gradients with fine noise, like a photograph.
inline Bitmap PhotoLike(int w, int h, uint32_t seed = 1) {
  Bitmap b;
  b.Resize(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < w; ++x) {
      int noise = static_cast<int>(rng() % 9) - 4;
      row[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / std::max(1, w) + noise, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / std::max(1, h) + noise, 0, 255));
      row[3 * x + 2] =
          static_cast<uint8_t>(std::clamp(((x + y) * 128 / std::max(1, w + h)) + 64 + noise, 0, 255));
    }
  }
  return b;
}

// Flat colour areas with hard edges, like a drawn picture.
inline Bitmap FlatLike(int w, int h) {
  Bitmap b;
  b.Resize(w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < w; ++x) {
      uint8_t c[3] = {230, 220, 250};  // background
      const int dx = x - w / 2, dy = y - h / 2, r = std::min(w, h) / 3;
      if (dx * dx + dy * dy < r * r) c[0] = 40, c[1] = 90, c[2] = 200;         // a disc
      if (x > w / 8 && x < w / 4 && y > h / 2) c[0] = 20, c[1] = 160, c[2] = 30;  // a bar
      if (y == h / 4 || x == w / 3) c[0] = c[1] = c[2] = 0;                       // lines
      row[3 * x] = c[0];
      row[3 * x + 1] = c[1];
      row[3 * x + 2] = c[2];
    }
  }
  return b;
}

inline bool SamePixels(const Bitmap& a, const Bitmap& b) {
  if (a.Width != b.Width || a.Height != b.Height) return false;
  for (int y = 0; y < a.Height; ++y)
    if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.Width) * 3) != 0) return false;
  return true;
}

}  // namespace zk::test
