#include "resources/Archive.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/SettingsStore.h"
#include "resources/GameDefinition.h"
#include "base/Sjis.h"

namespace zk {

namespace {

int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 |
                              static_cast<uint32_t>(p[3]) << 24);
}

void PutI32(uint8_t* p, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  p[0] = static_cast<uint8_t>(u);
  p[1] = static_cast<uint8_t>(u >> 8);
  p[2] = static_cast<uint8_t>(u >> 16);
  p[3] = static_cast<uint8_t>(u >> 24);
}

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

// An open file closed when it goes out of scope.
struct File {
  explicit File(const std::string& path, const char* mode) : f(std::fopen(path.c_str(), mode)) {}
  ~File() {
    if (f) std::fclose(f);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  FILE* f;
};

uint64_t FileLength(FILE* f) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<uint64_t>(st.st_size);
}

}  // namespace

// ============================================================ [SECTION] Index layouts

int ArchiveIndex::Find(std::string_view name) const {
  std::string upper = UpperSjis(name);
  for (size_t i = 0; i < Names.size(); ++i)
    if (Names[i] == upper) return static_cast<int>(i);
  return -1;
}

size_t IndexHeaderSize(IndexLayout layout) { return layout == IndexLayout::Fixed ? 4 : 8; }

bool IndexSize(IndexLayout layout, std::span<const uint8_t> header, uint64_t fileSize,
               size_t& total, std::string* error) {
  const size_t headerSize = IndexHeaderSize(layout);
  if (header.size() < headerSize || fileSize < headerSize) {
    SetError(error, "index header is truncated");
    return false;
  }
  const int32_t count = ReadI32(header.data());
  int32_t width = kFixedNameWidth;
  if (layout == IndexLayout::General) {
    width = ReadI32(header.data() + 4);
    if (width < 1 || width > kMaxNameWidth) {
      SetError(error, "name field width " + std::to_string(width) + " is out of range");
      return false;
    }
  }
  if (count < 0) {
    SetError(error, "entry count " + std::to_string(count) + " is negative");
    return false;
  }
  const uint64_t records = static_cast<uint64_t>(count) * static_cast<uint64_t>(width + 8);
  if (records > fileSize - headerSize) {
    SetError(error, "index claims " + std::to_string(count) + " records but the file holds " +
                        std::to_string((fileSize - headerSize) / (width + 8)));
    return false;
  }
  total = static_cast<size_t>(headerSize + records);
  return true;
}

bool ParseIndex(IndexLayout layout, std::span<const uint8_t> bytes, uint64_t fileSize,
                ArchiveIndex& out, std::string* error) {
  out.Clear();
  size_t total = 0;
  if (!IndexSize(layout, bytes, fileSize, total, error)) return false;
  if (bytes.size() < total) {
    SetError(error, "index is truncated");
    return false;
  }
  const size_t headerSize = IndexHeaderSize(layout);
  const int32_t count = ReadI32(bytes.data());
  const int32_t width =
      layout == IndexLayout::General ? ReadI32(bytes.data() + 4) : kFixedNameWidth;
  const size_t record = static_cast<size_t>(width) + 8;
  ArchiveIndex index;
  index.NameWidth = width;
  index.Names.reserve(count);
  index.Offsets.reserve(count);
  index.Sizes.reserve(count);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* rec = bytes.data() + headerSize + record * i;
    const void* nul = std::memchr(rec, 0, width);
    size_t len = nul ? static_cast<const uint8_t*>(nul) - rec : static_cast<size_t>(width);
    index.Names.push_back(UpperSjis(std::string_view(reinterpret_cast<const char*>(rec), len)));
    index.Offsets.push_back(ReadI32(rec + width));
    index.Sizes.push_back(ReadI32(rec + width + 4));
  }
  out = std::move(index);
  return true;
}

bool WriteArchive(IndexLayout layout, const std::vector<ArchiveEntry>& entries, int nameWidth,
                  std::vector<uint8_t>& out, std::string* error) {
  out.clear();
  const int width = layout == IndexLayout::Fixed ? kFixedNameWidth : nameWidth;
  if (width < 1 || width > kMaxNameWidth) {
    SetError(error, "name width " + std::to_string(width) + " is out of range (1-" +
                        std::to_string(kMaxNameWidth) + ")");
    return false;
  }
  const size_t headerSize = IndexHeaderSize(layout);
  uint64_t pos = headerSize + static_cast<uint64_t>(entries.size()) * (width + 8);
  for (const ArchiveEntry& e : entries) {
    if (e.Name.empty() || e.Name.size() >= static_cast<size_t>(width) ||
        e.Name.find('\0') != std::string::npos) {
      SetError(error, "entry name \"" + SjisToUtf8(e.Name) + "\" does not fit a name field of " +
                          std::to_string(width) + " bytes with its terminating zero");
      return false;
    }
    pos += e.Data.size();
  }
  if (pos > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    SetError(error, "archive would exceed 2 GiB");
    return false;
  }
  out.assign(static_cast<size_t>(pos), 0);
  PutI32(out.data(), static_cast<int32_t>(entries.size()));
  if (layout == IndexLayout::General) PutI32(out.data() + 4, width);
  size_t data = headerSize + entries.size() * (width + 8);
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* rec = out.data() + headerSize + i * (width + 8);
    std::memcpy(rec, entries[i].Name.data(), entries[i].Name.size());
    PutI32(rec + width, static_cast<int32_t>(data));
    PutI32(rec + width + 4, static_cast<int32_t>(entries[i].Data.size()));
    if (!entries[i].Data.empty())
      std::memcpy(out.data() + data, entries[i].Data.data(), entries[i].Data.size());
    data += entries[i].Data.size();
  }
  return true;
}

void NegateBytes(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(0u - data[i]);
}

// ============================================================ [SECTION] File access

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadIndexFile(const std::string& path, IndexLayout layout, ArchiveIndex& out,
                   std::string* error) {
  out.Clear();
  File file(path, "rb");
  if (!file.f) {
    SetError(error, "cannot open " + path);
    return false;
  }
  const uint64_t length = FileLength(file.f);
  uint8_t header[8] = {};
  const size_t headerSize = IndexHeaderSize(layout);
  size_t got = std::fread(header, 1, headerSize, file.f);
  size_t total = 0;
  if (!IndexSize(layout, std::span(header, got), length, total, error)) return false;
  std::vector<uint8_t> bytes(total);
  std::memcpy(bytes.data(), header, headerSize);
  if (std::fread(bytes.data() + headerSize, 1, total - headerSize, file.f) != total - headerSize) {
    SetError(error, "index is truncated");
    return false;
  }
  if (!ParseIndex(layout, bytes, length, out, error)) return false;
  out.FileName = path;
  return true;
}

bool ReadFileAt(const std::string& path, uint64_t offset, size_t size, std::vector<uint8_t>& out) {
  out.clear();
  File file(path, "rb");
  if (!file.f) return false;
  const uint64_t length = FileLength(file.f);
  if (offset > length) return true;
  const uint64_t avail = length - offset;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(size, avail));
  if (fseeko(file.f, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  out.resize(want);
  out.resize(std::fread(out.data(), 1, want, file.f));
  return true;
}

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> data) {
  return platform::WriteFileAtomic(path, data.data(), data.size());
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  out.clear();
  File file(path, "rb");
  if (!file.f) return false;
  uint8_t buf[8192];  // stack pages once touched stay with the process
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, file.f)) > 0) out.insert(out.end(), buf, buf + n);
  return !std::ferror(file.f);
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
