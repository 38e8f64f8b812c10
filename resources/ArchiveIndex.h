// Archive indexes: an index of named entries followed by the entries' bytes.
// Pure parsing and writing over byte spans; reading archive files is in
// resources/Archive.h.
//
// Two index layouts exist. The fixed layout (the script archives) is a 32-bit
// count followed by 24-byte records: a 16-byte name field, offset, size. The
// general layout (every other archive) is a count, a name field width W and
// records of W + 8 bytes. All integers are little-endian and signed; offsets
// are absolute. Script entries are stored with every byte negated.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

enum class IndexLayout { Fixed, General };

constexpr int kFixedNameWidth = 16;
// Name fields wider than this are taken for corrupt data.
constexpr int kMaxNameWidth = 4096;

// The in-memory index of one archive volume.
struct ArchiveIndex {
  std::string FileName;  // the path used; empty when the volume was not found
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
inline void NegateBytes(std::vector<uint8_t>& data) {
  NegateBytes(data.data(), data.size());
}

}  // namespace zk
