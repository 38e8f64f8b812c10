#include "platform/sdl/UiFont.h"

#include "platform/sdl/FontMatch.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

MappedFont::~MappedFont() {
  if (data_) munmap(data_, size_);
}

void MappedFont::ReleasePages() const {
  if (data_) madvise(data_, size_, MADV_DONTNEED);
}

std::unique_ptr<MappedFont> MappedFont::Open(const std::string& path, int faceIndex) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size <= 0) {
    close(fd);
    return nullptr;
  }
  void* data = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (data == MAP_FAILED) return nullptr;
  // Glyph outlines are read here and there; reading ahead would only fill memory.
  madvise(data, static_cast<size_t>(st.st_size), MADV_RANDOM);
  std::unique_ptr<MappedFont> font(new MappedFont);
  font->data_ = data;
  font->size_ = static_cast<size_t>(st.st_size);
  font->faceIndex_ = faceIndex;
  font->path_ = path;
  return font;
}

std::unique_ptr<MappedFont> FindJapaneseUiFont() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return nullptr;
  // Proportional Gothic faces first; any face that covers Japanese after them.
  // The tool bar's own captions (終, 設) must be covered, or the face is no use.
  const FontFileMatch m = MatchFontFile(
      config, {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "sans-serif"}, true, {0x7D42, 0x8A2D});
  FcConfigDestroy(config);
  return m.Path.empty() ? nullptr : MappedFont::Open(m.Path, m.Index);
}

}  // namespace platform
