#include "resources/ArchiveIndex.h"

#include <cstring>
#include <limits>

#include "base/LittleEndian.h"
#include "base/Sjis.h"

namespace zk {

namespace {

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

}  // namespace

int ArchiveIndex::Find(std::string_view name) const {
  std::string upper = UpperSjis(name);
  for (size_t i = 0; i < Names.size(); ++i)
    if (Names[i] == upper) return static_cast<int>(i);
  return -1;
}

size_t IndexHeaderSize(IndexLayout layout) {
  return layout == IndexLayout::Fixed ? 4 : 8;
}

bool IndexSize(IndexLayout layout, std::span<const uint8_t> header, uint64_t fileSize,
               size_t& total, std::string* error) {
  const size_t headerSize = IndexHeaderSize(layout);
  if (header.size() < headerSize || fileSize < headerSize) {
    SetError(error, "index header is truncated");
    return false;
  }
  const int32_t count = ReadLeI32(header.data());
  int32_t width = kFixedNameWidth;
  if (layout == IndexLayout::General) {
    width = ReadLeI32(header.data() + 4);
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
  const int32_t count = ReadLeI32(bytes.data());
  const int32_t width =
      layout == IndexLayout::General ? ReadLeI32(bytes.data() + 4) : kFixedNameWidth;
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
    index.Offsets.push_back(ReadLeI32(rec + width));
    index.Sizes.push_back(ReadLeI32(rec + width + 4));
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
  PutLeI32(out.data(), static_cast<int32_t>(entries.size()));
  if (layout == IndexLayout::General) PutLeI32(out.data() + 4, width);
  size_t data = headerSize + entries.size() * (width + 8);
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* rec = out.data() + headerSize + i * (width + 8);
    std::memcpy(rec, entries[i].Name.data(), entries[i].Name.size());
    PutLeI32(rec + width, static_cast<int32_t>(data));
    PutLeI32(rec + width + 4, static_cast<int32_t>(entries[i].Data.size()));
    if (!entries[i].Data.empty())
      std::memcpy(out.data() + data, entries[i].Data.data(), entries[i].Data.size());
    data += entries[i].Data.size();
  }
  return true;
}

void NegateBytes(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(0u - data[i]);
}

}  // namespace zk
