// Archive files: an index of named entries followed by the entries' bytes.
//
// [SECTION] Index layouts (pure parsing and writing)
// [SECTION] File access
// [SECTION] Archive families and the game's archive set
//
// Two index layouts exist. The fixed layout (the script archives) is a 32-bit
// count followed by 24-byte records: a 16-byte name field, offset, size. The
// general layout (every other archive) is a count, a name field width W and
// records of W + 8 bytes. All integers are little-endian and signed; offsets
// are absolute. Script entries are stored with every byte negated.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// ============================================================ [SECTION] Index layouts

enum class IndexLayout { Fixed, General };

constexpr int kFixedNameWidth = 16;
// Name fields wider than this are taken for corrupt data.
constexpr int kMaxNameWidth = 4096;

// The in-memory index of one archive volume.
struct ArchiveIndex {
  std::string FileName;            // the path used; empty when the volume was not found
  int32_t NameWidth = 0;
  std::vector<std::string> Names;  // upper-cased, in file order
  std::vector<int32_t> Offsets;
  std::vector<int32_t> Sizes;

  int32_t Count() const { return static_cast<int32_t>(Names.size()); }
  bool Empty() const { return Names.empty(); }
  // The first record whose name equals name regardless of ASCII case, or -1.
  int Find(std::string_view name) const;
  void Clear() { *this = ArchiveIndex{}; }
};

// Bytes before the first record: 4 (fixed) or 8 (general).
size_t IndexHeaderSize(IndexLayout layout);

// From the first IndexHeaderSize bytes of a file of fileSize bytes, the size
// of the whole index (header and records). False, with a reason, when the
// header is short or claims more records than the file holds.
bool IndexSize(IndexLayout layout, std::span<const uint8_t> header, uint64_t fileSize,
               size_t& total, std::string* error = nullptr);

// Parses the index at the start of an archive. bytes holds at least the
// index; fileSize is the length of the whole file (bytes.size() when bytes
// is the whole file). On failure out is left empty and error says why.
// A name that fills its whole field without a terminating zero is cut at the
// field's end. Offsets and sizes are kept as stored and checked at read time.
bool ParseIndex(IndexLayout layout, std::span<const uint8_t> bytes, uint64_t fileSize,
                ArchiveIndex& out, std::string* error = nullptr);

struct ArchiveEntry {
  std::string Name;           // Shift-JIS or ASCII, stored as given
  std::vector<uint8_t> Data;  // stored as given (negate script data first)
};

// Writes a whole archive: index, then the entries' data in order. nameWidth is
// used by the general layout only. Fails when a name does not fit its field
// with its terminating zero, or the archive would pass 2 GiB.
bool WriteArchive(IndexLayout layout, const std::vector<ArchiveEntry>& entries, int nameWidth,
                  std::vector<uint8_t>& out, std::string* error = nullptr);

// stored = (256 - plain) mod 256; its own inverse.
void NegateBytes(uint8_t* data, size_t size);
inline void NegateBytes(std::vector<uint8_t>& data) { NegateBytes(data.data(), data.size()); }

// ============================================================ [SECTION] File access

bool FileExists(const std::string& path);
// Reads an archive file's index. False with a reason when the file cannot be
// opened or its index is corrupt; out is then empty.
bool ReadIndexFile(const std::string& path, IndexLayout layout, ArchiveIndex& out,
                   std::string* error = nullptr);
// Reads up to size bytes at offset; the bytes actually read (fewer at the end
// of the file). False when the file cannot be opened.
bool ReadFileAt(const std::string& path, uint64_t offset, size_t size, std::vector<uint8_t>& out);
// Writes a whole file through a temporary name and a rename.
bool WriteWholeFile(const std::string& path, std::span<const uint8_t> data);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);

// ============================================================ [SECTION] Families

struct EntryRef {
  int Volume = 0;
  int32_t Offset = 0;
  int32_t Size = 0;
};

// One kind of archive in one or more volumes ("zk_gra.zlk", "zk_gra2.zlk" ...).
// Every read opens the volume's file, reads and closes it again.
class ArchiveFamily {
 public:
  int VolumeCount() const { return static_cast<int>(volumes_.size()); }
  const ArchiveIndex& Volume(int i) const { return volumes_[i]; }
  ArchiveIndex& MutableVolume(int i) { return volumes_[i]; }
  void SetVolumeCount(int n) { volumes_.assign(n, ArchiveIndex{}); }

  // Searches the volumes first to last; within a volume the first record wins.
  std::optional<EntryRef> Find(std::string_view name) const;
  // Searches the volumes last to first.
  std::optional<EntryRef> FindFromLast(std::string_view name) const;
  bool Contains(std::string_view name) const { return Find(name).has_value(); }

  // Reads the entry's Size bytes. False when the file is gone or the entry
  // lies outside the file.
  bool Read(const EntryRef& entry, std::vector<uint8_t>& out) const;
  // Reads up to size bytes at offset bytes into the entry, ignoring the
  // entry's recorded size (some formats carry their own lengths). Returns the
  // bytes read, fewer at the end of the file; false when nothing can be read.
  bool ReadAt(const EntryRef& entry, uint64_t offset, size_t size,
              std::vector<uint8_t>& out) const;

 private:
  std::vector<ArchiveIndex> volumes_;
};

// Which volumes may come from the fallback data folder: the counts of the
// game definition's archive keys.
struct ArchiveGates {
  int32_t Gra = 0;   // picture volumes 0 .. Gra-1
  int32_t Gjp = 0;   // non-zero: the JPEG archive
  int32_t Wav = 0;
  int32_t Se = 0;
  int32_t Ogg = 0;
  int32_t Anim = 0;  // above 0: first animation archive, above 1: also the second
};

// Every archive family of a game folder, opened once at start-up.
class Archives {
 public:
  // Opens the script archives, reads the gates from "_config" and opens every
  // other family. cdDir is the fallback data folder prefix ("NULL" or empty
  // for none). Returns whether "zk_data.zlk" exists.
  bool Open(const std::string& gameDir, const std::string& cdDir);
  // The two steps of Open, for the start-up sequence that reads the settings
  // in between. OpenScripts returns whether "zk_data.zlk" exists.
  bool OpenScripts(const std::string& gameDir);
  void OpenOthers(const std::string& cdDir, const ArchiveGates& gates);

  // A script entry with its bytes restored: "zk_data2.zlk" first, then
  // "zk_data.zlk". False when neither holds the name or the read fails.
  bool ReadScript(std::string_view name, std::vector<uint8_t>& out) const;
  bool ScriptExists(std::string_view name) const;

  const std::string& GameDir() const { return gameDir_; }
  // The path of a file of the game folder.
  std::string GamePath(std::string_view fileName) const;

  const ArchiveFamily& Scripts() const { return scripts_; }          // "zk_data.zlk"
  const ArchiveFamily& ScriptPatch() const { return scriptPatch_; }  // "zk_data2.zlk"
  const ArchiveFamily& Pictures() const { return pictures_; }  // "zk_gra.zlk", "zk_gra2/3.zlk"
  const ArchiveFamily& Jpegs() const { return jpegs_; }        // "zk_gjp.zlk"
  const ArchiveFamily& Waves() const { return waves_; }        // "zk_wav1..5.zlk"
  const ArchiveFamily& SoundEffects() const { return soundEffects_; }  // "zk_se0..2.zlk"
  const ArchiveFamily& Oggs() const { return oggs_; }                  // "zk_ogg1..3.zlk"
  const ArchiveFamily& Music() const { return music_; }                // "zk_bgm.zlk"
  const ArchiveFamily& OggMusic() const { return oggMusic_; }          // "zk_ogm.zlk"
  const ArchiveFamily& Animations() const { return animations_; }      // "zk_anim.zlk"
  const ArchiveFamily& Animations2() const { return animations2_; }    // "zk_anim2.zlk"

  // Problems met while opening (corrupt indexes), one line each.
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  void OpenVolume(ArchiveFamily& family, int volume, const std::string& fileName, bool gated,
                  const std::string& cdDir);
  std::string gameDir_;
  ArchiveFamily scripts_, scriptPatch_, pictures_, jpegs_, waves_, soundEffects_, oggs_, music_,
      oggMusic_, animations_, animations2_;
  std::vector<std::string> problems_;
};

}  // namespace zk
