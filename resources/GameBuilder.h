// Building a game's archives from author sources: scripts as UTF-8 text,
// pictures as PNG (stored in the compressed picture format) or JPEG (stored
// as they are). Used by `zktool build-game` and by tests that make small
// games in code.
#pragma once
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Bitmap.h"
#include "resources/Archive.h"
#include "resources/Picture.h"

namespace zk {

// Converts a UTF-8 script text to Shift-JIS lines, each ending in a zero
// byte: one line per text line, a final line break adds no empty line, CR
// before LF and a leading byte-order mark are dropped. On a character without
// a Shift-JIS form (or a zero character) returns false with "line N: ...".
bool ScriptToSjis(std::string_view utf8, std::vector<uint8_t>& out, std::string& error);

// The flags pictures are stored with unless a caller asks otherwise.
constexpr uint8_t kDefaultPictureFlags = kPicRunLength | kPicDelta;

// Collects archive entries in memory and writes the archive files.
class GameBuilder {
 public:
  // Script from UTF-8 text (name in UTF-8, at most 15 bytes in Shift-JIS).
  bool AddScript(std::string_view name, std::string_view utf8Text, std::string& error);
  // Script from plain Shift-JIS bytes (zero-terminated lines), stored negated.
  bool AddScriptBytes(std::string_view name, std::span<const uint8_t> plain, std::string& error);
  // Picture compressed into "zk_gra.zlk".
  bool AddPicture(std::string_view name, const Bitmap& bmp, std::string& error,
                  uint8_t flags = kDefaultPictureFlags);
  // JPEG bytes stored as they are in "zk_gjp.zlk".
  bool AddJpeg(std::string_view name, std::span<const uint8_t> jpeg, std::string& error);
  // Any entry in any archive file of the game ("zk_se0.zlk" ...). The layout
  // of a file is fixed by its first entry. A name already in that archive is
  // an error.
  bool AddEntry(const std::string& archiveFile, IndexLayout layout, std::string_view utf8Name,
                std::vector<uint8_t> data, std::string& error);

  // The archives as bytes, by file name.
  bool Build(std::map<std::string, std::vector<uint8_t>>& files, std::string& error) const;
  // Writes every archive into outDir (created when missing). With
  // removeStale, archives ("zk_*.zlk") already in outDir that this build
  // does not write are removed first, so none of an earlier build is left to
  // shadow its entries.
  bool Write(const std::string& outDir, std::string& error, bool removeStale = false) const;

 private:
  struct Pending {
    IndexLayout Layout = IndexLayout::General;
    std::vector<ArchiveEntry> Entries;
  };
  std::map<std::string, Pending> archives_;
};

// Builds a game from a source folder: every "*.s" file below srcDir becomes a
// script (named by its file name without the extension), "*.png" a picture and
// "*.jpg"/"*.jpeg" a JPEG picture; other files are ignored. Errors name the
// file (and the line for scripts). Archives of an earlier build in outDir
// that this one does not make are removed.
bool BuildGame(const std::string& srcDir, const std::string& outDir, std::string& error);
// The same into a builder, for callers that add more entries before writing.
bool AddGameSources(GameBuilder& builder, const std::string& srcDir, std::string& error);

}  // namespace zk
