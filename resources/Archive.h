// Archive files: reading indexes and entries from the game folder's archives.
// The index layouts themselves are in resources/ArchiveIndex.h.
//
// [SECTION] Index files
// [SECTION] Archive families and the game's archive set
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Files.h"
#include "resources/ArchiveIndex.h"

namespace zk {

// ============================================================ [SECTION] Index files

// Reads an archive file's index. False with a reason when the file cannot be
// opened or its index is corrupt; out is then empty.
bool ReadIndexFile(const std::string& path, IndexLayout layout, ArchiveIndex& out,
                   std::string* error = nullptr);

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
  bool ReadAt(const EntryRef& entry, uint64_t offset, size_t size, std::vector<uint8_t>& out) const;

 private:
  std::vector<ArchiveIndex> volumes_;
};

// Which volumes may come from the fallback data folder: the counts of the
// game definition's archive keys.
struct ArchiveGates {
  int32_t Gra = 0;  // picture volumes 0 .. Gra-1
  int32_t Gjp = 0;  // non-zero: the JPEG archive
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
