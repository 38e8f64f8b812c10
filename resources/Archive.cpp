#include "resources/Archive.h"

#include <cstdio>

#include "resources/GameDefinition.h"

namespace zk {

namespace {

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

// ============================================================ [SECTION] Index files

bool ReadIndexFile(const std::string& path, IndexLayout layout, ArchiveIndex& out,
                   std::string* error) {
  out.Clear();
  InputFile file(path);
  if (!file.IsOpen()) {
    SetError(error, "cannot open " + path);
    return false;
  }
  const uint64_t length = file.Size();
  std::vector<uint8_t> bytes;
  size_t total = 0;
  // A header that cannot be read arrives empty and is reported as truncated.
  file.ReadAt(0, IndexHeaderSize(layout), bytes);
  if (!IndexSize(layout, bytes, length, total, error)) return false;
  if (!file.ReadAt(0, total, bytes) || bytes.size() != total) {
    SetError(error, "index is truncated");
    return false;
  }
  if (!ParseIndex(layout, bytes, length, out, error)) return false;
  out.FileName = path;
  return true;
}

// ============================================================ [SECTION] Families

std::optional<EntryRef> ArchiveFamily::Find(std::string_view name) const {
  for (int v = 0; v < VolumeCount(); ++v) {
    int i = volumes_[v].Find(name);
    if (i >= 0) return EntryRef{v, volumes_[v].Offsets[i], volumes_[v].Sizes[i]};
  }
  return std::nullopt;
}

std::optional<EntryRef> ArchiveFamily::FindFromLast(std::string_view name) const {
  for (int v = VolumeCount() - 1; v >= 0; --v) {
    int i = volumes_[v].Find(name);
    if (i >= 0) return EntryRef{v, volumes_[v].Offsets[i], volumes_[v].Sizes[i]};
  }
  return std::nullopt;
}

bool ArchiveFamily::Read(const EntryRef& entry, std::vector<uint8_t>& out) const {
  out.clear();
  if (entry.Offset < 0 || entry.Size < 0) return false;
  if (!ReadAt(entry, 0, static_cast<size_t>(entry.Size), out) && entry.Size > 0) return false;
  if (out.size() != static_cast<size_t>(entry.Size)) {
    out.clear();
    return false;
  }
  return true;
}

bool ArchiveFamily::ReadAt(const EntryRef& entry, uint64_t offset, size_t size,
                           std::vector<uint8_t>& out) const {
  out.clear();
  if (entry.Volume < 0 || entry.Volume >= VolumeCount() || entry.Offset < 0) return false;
  const std::string& path = volumes_[entry.Volume].FileName;
  if (path.empty()) return false;
  if (!ReadFileAt(path, static_cast<uint64_t>(entry.Offset) + offset, size, out)) return false;
  return !out.empty() || size == 0;
}

namespace {

std::string JoinPath(const std::string& dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  if (dir.back() == '/') return dir + std::string(name);
  return dir + "/" + std::string(name);
}

}  // namespace

std::string Archives::GamePath(std::string_view fileName) const {
  return JoinPath(gameDir_, fileName);
}

bool Archives::Open(const std::string& gameDir, const std::string& cdDir) {
  bool found = OpenScripts(gameDir);
  GameDefinition def;
  std::vector<uint8_t> config;
  if (ReadScript("_config", config)) ParseGameDefinition(config, def);
  OpenOthers(cdDir, GatesOf(def));
  return found;
}

bool Archives::OpenScripts(const std::string& gameDir) {
  gameDir_ = gameDir;
  problems_.clear();
  scripts_.SetVolumeCount(1);
  scriptPatch_.SetVolumeCount(1);
  const std::string main = GamePath("zk_data.zlk");
  const bool found = FileExists(main);
  std::string error;
  if (found && !ReadIndexFile(main, IndexLayout::Fixed, scripts_.MutableVolume(0), &error))
    problems_.push_back(main + ": " + error);
  const std::string patch = GamePath("zk_data2.zlk");
  if (FileExists(patch) &&
      !ReadIndexFile(patch, IndexLayout::Fixed, scriptPatch_.MutableVolume(0), &error))
    problems_.push_back(patch + ": " + error);
  return found;
}

void Archives::OpenVolume(ArchiveFamily& family, int volume, const std::string& fileName,
                          bool gated, const std::string& cdDir) {
  std::string path = GamePath(fileName);
  if (!FileExists(path)) {
    path.clear();
    // The fallback folder is a plain prefix; "NULL" (the default) names none.
    if (gated && !cdDir.empty() && cdDir != "NULL") {
      std::string prefixed = cdDir + fileName;
      if (prefixed.front() != '/') prefixed = GamePath(prefixed);
      if (FileExists(prefixed)) path = prefixed;
    }
  }
  ArchiveIndex& index = family.MutableVolume(volume);
  if (path.empty()) return;
  std::string error;
  if (!ReadIndexFile(path, IndexLayout::General, index, &error))
    problems_.push_back(path + ": " + error);
}

void Archives::OpenOthers(const std::string& cdDir, const ArchiveGates& gates) {
  auto numbered = [](const char* pattern, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, n);
    return std::string(buf);
  };
  pictures_.SetVolumeCount(3);
  OpenVolume(pictures_, 0, "zk_gra.zlk", 0 < gates.Gra, cdDir);
  OpenVolume(pictures_, 1, "zk_gra2.zlk", 1 < gates.Gra, cdDir);
  OpenVolume(pictures_, 2, "zk_gra3.zlk", 2 < gates.Gra, cdDir);
  jpegs_.SetVolumeCount(1);
  OpenVolume(jpegs_, 0, "zk_gjp.zlk", gates.Gjp != 0, cdDir);
  waves_.SetVolumeCount(5);
  for (int v = 0; v < 5; ++v)
    OpenVolume(waves_, v, numbered("zk_wav%d.zlk", v + 1), v < gates.Wav, cdDir);
  soundEffects_.SetVolumeCount(3);
  for (int v = 0; v < 3; ++v)
    OpenVolume(soundEffects_, v, numbered("zk_se%d.zlk", v), v < gates.Se, cdDir);
  oggs_.SetVolumeCount(3);
  for (int v = 0; v < 3; ++v)
    OpenVolume(oggs_, v, numbered("zk_ogg%d.zlk", v + 1), v < gates.Ogg, cdDir);
  music_.SetVolumeCount(1);
  OpenVolume(music_, 0, "zk_bgm.zlk", true, cdDir);
  oggMusic_.SetVolumeCount(1);
  OpenVolume(oggMusic_, 0, "zk_ogm.zlk", true, cdDir);
  animations_.SetVolumeCount(1);
  OpenVolume(animations_, 0, "zk_anim.zlk", gates.Anim > 0, cdDir);
  animations2_.SetVolumeCount(1);
  OpenVolume(animations2_, 0, "zk_anim2.zlk", gates.Anim > 1, cdDir);
}

bool Archives::ReadScript(std::string_view name, std::vector<uint8_t>& out) const {
  out.clear();
  const ArchiveFamily* family = &scriptPatch_;
  std::optional<EntryRef> ref = scriptPatch_.Find(name);
  if (!ref) {
    family = &scripts_;
    ref = scripts_.Find(name);
  }
  if (!ref || !family->Read(*ref, out)) return false;
  NegateBytes(out);
  return true;
}

bool Archives::ScriptExists(std::string_view name) const {
  return scriptPatch_.Contains(name) || scripts_.Contains(name);
}

}  // namespace zk
