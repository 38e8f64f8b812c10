// FreeType rasteriser with fontconfig face resolution.
//
// A face name is resolved to a font file once (and remembered per name); the
// file is then opened directly with FreeType and kept open, so switching
// between faces already used costs nothing. Windows face names of the common
// Japanese system fonts map to the installed Japanese faces; any other name
// goes to fontconfig, and when the face it finds cannot show Japanese text a
// Japanese face takes over (also for single characters the face lacks).
//
// Font files are read, not mapped: a Japanese face is several megabytes and
// the glyphs of a page lie all over it, so a mapping would soon hold much of
// the file in memory (each touched page brings its neighbours along). Read
// through a stream, FreeType keeps only its tables and the outline it is
// working on.
#include "platform/sdl/FontRasterFreetype.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <sys/stat.h>
#include <unistd.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl/FontMatch.h"

namespace platform {

namespace {

struct FaceFile {
  std::string Path;  // empty: nothing found
  int Index = 0;
  bool operator<(const FaceFile& o) const {
    return Path != o.Path ? Path < o.Path : Index < o.Index;
  }
};

// Windows face names and the families that stand in for them, with the
// generic family that backs each up.
struct FaceAlias {
  std::string_view Windows;
  const char* Family;
  const char* Generic;
};
constexpr FaceAlias kAliases[] = {
    {"ＭＳ 明朝", "IPAMincho", "serif"},          {"ＭＳ Ｐ明朝", "IPAPMincho", "serif"},
    {"ＭＳ ゴシック", "IPAGothic", "sans-serif"}, {"ＭＳ Ｐゴシック", "IPAPGothic", "sans-serif"},
    {"MS Mincho", "IPAMincho", "serif"},          {"MS PMincho", "IPAPMincho", "serif"},
    {"MS Gothic", "IPAGothic", "sans-serif"},     {"MS PGothic", "IPAPGothic", "sans-serif"},
};

// A character every Japanese face has (HIRAGANA LETTER A).
constexpr FcChar32 kJapaneseProbe = 0x3042;

// Glyph images larger than this are refused whatever the size asked for.
constexpr int kMaxGlyphSide = 1024;

// An open font file that FreeType reads through: the stream must outlive
// its face.
class FontFile {
 public:
  ~FontFile() {
    if (fd_ >= 0) close(fd_);
  }
  static std::unique_ptr<FontFile> Open(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_size <= 0) {
      close(fd);
      return nullptr;
    }
    std::unique_ptr<FontFile> file(new FontFile);
    file->fd_ = fd;
    file->stream_.size = static_cast<unsigned long>(st.st_size);
    file->stream_.descriptor.value = fd;
    file->stream_.read = Read;
    return file;
  }
  FT_Stream Stream() { return &stream_; }

 private:
  FontFile() = default;
  // A count of 0 is a seek, which needs nothing here (0 is success).
  static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                            unsigned long count) {
    if (count == 0) return offset <= stream->size ? 0 : 1;
    unsigned long done = 0;
    while (done < count) {
      const ssize_t n = pread(static_cast<int>(stream->descriptor.value), buffer + done,
                              count - done, static_cast<off_t>(offset + done));
      if (n <= 0) break;
      done += static_cast<unsigned long>(n);
    }
    return done;
  }
  int fd_ = -1;
  FT_StreamRec stream_{};
};

class FreetypeFontRaster final : public FontRaster {
 public:
  ~FreetypeFontRaster() override {
    for (auto& [file, face] : faces_)
      if (face) FT_Done_Face(face);
    files_.clear();
    if (library_) FT_Done_FreeType(library_);
    if (config_) FcConfigDestroy(config_);
  }

  void SetFont(std::string_view faceUtf8, int sizePx, bool bold) override {
    sizePx = std::clamp(sizePx, 1, 256);
    if (faceUtf8 != name_) {
      name_ = faceUtf8;
      resolved_ = false;
    }
    if (sizePx != size_) {
      size_ = sizePx;
      sized_.clear();
    }
    bold_ = bold;
  }

  int Ascent() override {
    FT_Face face = Primary();
    if (!face) face = Fallback();
    if (!face || !Size(face)) return 0;
    // The ascent a Windows text metric reports: the OS/2 table's Windows
    // ascent where there is one, else the face's own ascender.
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent > 0 && face->units_per_EM > 0)
      return static_cast<int>(
          std::ceil(static_cast<double>(os2->usWinAscent) * size_ / face->units_per_EM));
    return static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  }

  bool RenderGlyph(char32_t codepoint, GlyphImage& out) override {
    out = GlyphImage{};
    FT_Face face = Primary();
    FT_UInt index = face ? FT_Get_Char_Index(face, codepoint) : 0;
    if (index == 0) {
      FT_Face other = Fallback();
      if (other && other != face) {
        face = other;
        index = FT_Get_Char_Index(face, codepoint);
      }
    }
    if (!face || index == 0 || !Size(face)) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (bold_ && !(face->style_flags & FT_STYLE_FLAG_BOLD)) {
      // A synthetic bold: about one pixel wider per 24 pixels of em, like the
      // simulated bold of the system fonts (wider only, not taller).
      const FT_Pos strength = std::max<FT_Pos>(64, static_cast<FT_Pos>(size_) * 64 / 24);
      FT_Outline_EmboldenXY(&slot->outline, strength, 0);
      slot->advance.x += strength;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
    const int width = static_cast<int>(bm.width);
    const int height = static_cast<int>(bm.rows);
    if (width > kMaxGlyphSide || height > kMaxGlyphSide) return false;
    out.OriginX = slot->bitmap_left;
    out.OriginY = slot->bitmap_top;
    out.Advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (width == 0 || height == 0) return true;
    out.Width = width;
    out.Height = height;
    out.Pitch = (width + 3) & ~3;
    out.Levels.assign(out.Bytes(), 0);
    const int grays = std::max(2, static_cast<int>(bm.num_grays));
    for (int y = 0; y < height; ++y) {
      const uint8_t* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
      uint8_t* dst = out.Levels.data() + static_cast<size_t>(y) * out.Pitch;
      for (int x = 0; x < width; ++x)
        dst[x] = static_cast<uint8_t>((src[x] * 64 + (grays - 1) / 2) / (grays - 1));
    }
    return true;
  }

 private:
  bool Init() {
    if (initTried_) return library_ != nullptr;
    initTried_ = true;
    if (FT_Init_FreeType(&library_) != 0) {
      library_ = nullptr;
      return false;
    }
    config_ = FcInitLoadConfigAndFonts();  // may be null: then only no faces are found
    return true;
  }

  // Asks fontconfig for the best file for the families; with japanese, a
  // face that cannot show kana is refused.
  FaceFile Match(const std::vector<const char*>& families, bool japanese) {
    const FontFileMatch m = japanese ? MatchFontFile(config_, families, true, {kJapaneseProbe})
                                     : MatchFontFile(config_, families, false, {});
    return FaceFile{m.Path, m.Index};
  }

  FaceFile Resolve(const std::string& name) {
    auto it = resolutions_.find(name);
    if (it != resolutions_.end()) return it->second;
    FaceFile file;
    const FaceAlias* alias = nullptr;
    for (const FaceAlias& a : kAliases)
      if (a.Windows == name) alias = &a;
    if (alias) {
      file = Match({alias->Family, alias->Generic}, true);
    } else if (!name.empty()) {
      file = Match({name.c_str()}, true);
    }
    resolutions_[name] = file;
    return file;
  }

  FT_Face Open(const FaceFile& file) {
    if (file.Path.empty()) return nullptr;
    auto it = faces_.find(file);
    if (it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    std::unique_ptr<FontFile> data = FontFile::Open(file.Path);
    if (data) {
      FT_Open_Args args{};
      args.flags = FT_OPEN_STREAM;
      args.stream = data->Stream();
      if (FT_Open_Face(library_, &args, file.Index, &face) != 0) face = nullptr;
    }
    if (face && !(face->face_flags & FT_FACE_FLAG_SCALABLE)) {
      FT_Done_Face(face);
      face = nullptr;
    }
    if (face) {
      FT_Select_Charmap(face, FT_ENCODING_UNICODE);
      files_.push_back(std::move(data));
    }
    faces_[file] = face;
    return face;
  }

  FT_Face Primary() {
    if (!Init()) return nullptr;
    if (!resolved_) {
      primary_ = Open(Resolve(name_));
      resolved_ = true;
    }
    return primary_;
  }

  // Any Japanese face: for names that find nothing usable and for characters
  // the chosen face lacks.
  FT_Face Fallback() {
    if (!Init()) return nullptr;
    if (!fallbackResolved_) {
      FaceFile file = Match({"IPAGothic", "IPAMincho", "sans-serif"}, true);
      fallback_ = Open(file);
      fallbackResolved_ = true;
    }
    return fallback_;
  }

  bool Size(FT_Face face) {
    auto it = sized_.find(face);
    if (it != sized_.end()) return it->second;
    // Every face keeps its own size; sized_ is emptied when the size changes.
    const bool ok = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size_)) == 0;
    sized_[face] = ok;
    return ok;
  }

  FT_Library library_ = nullptr;
  FcConfig* config_ = nullptr;
  bool initTried_ = false;
  std::string name_;
  int size_ = 25;
  bool bold_ = false;
  bool resolved_ = false;
  FT_Face primary_ = nullptr;
  bool fallbackResolved_ = false;
  FT_Face fallback_ = nullptr;
  std::map<std::string, FaceFile> resolutions_;
  std::map<FaceFile, FT_Face> faces_;
  std::vector<std::unique_ptr<FontFile>> files_;  // the open faces' files
  std::map<FT_Face, bool> sized_;
};

}  // namespace

std::unique_ptr<FontRaster> CreateFreetypeFontRaster() {
  return std::make_unique<FreetypeFontRaster>();
}

}  // namespace platform
