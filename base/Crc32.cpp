#include "base/Crc32.h"

#include <array>

namespace zk {

namespace {
constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}
constexpr auto kCrcTable = MakeCrcTable();
}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t start) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  uint32_t v = start;
  for (size_t i = 0; i < size; ++i) v = (v >> 8) ^ kCrcTable[(v ^ p[i]) & 0xFF];
  return v;
}

}  // namespace zk
