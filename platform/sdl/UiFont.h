// The Japanese font of the tool bar and the dialogs, found through fontconfig
// and mapped into memory (only the pages the rasteriser touches are read).
#pragma once
#include <cstddef>
#include <memory>
#include <string>

namespace platform {

class MappedFont {
 public:
  ~MappedFont();
  MappedFont(const MappedFont&) = delete;
  MappedFont& operator=(const MappedFont&) = delete;

  // Maps a font file; nullptr when it cannot be read.
  static std::unique_ptr<MappedFont> Open(const std::string& path, int faceIndex);

  void* Data() const { return data_; }
  // Gives back the pages read so far (they are read again when needed): the
  // rasteriser touches glyphs all over the file, and each page it touches
  // brings its neighbours into memory too.
  void ReleasePages() const;
  size_t Size() const { return size_; }
  int FaceIndex() const { return faceIndex_; }
  const std::string& Path() const { return path_; }

 private:
  MappedFont() = default;
  void* data_ = nullptr;
  size_t size_ = 0;
  int faceIndex_ = 0;
  std::string path_;
};

// A font that covers Japanese (a Gothic face preferred), or nullptr. The
// fontconfig configuration is loaded for the query and released after it.
std::unique_ptr<MappedFont> FindJapaneseUiFont();

}  // namespace platform
