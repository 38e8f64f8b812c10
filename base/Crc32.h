// CRC-32 checksums.
#pragma once
#include <cstddef>
#include <cstdint>

namespace zk {

// The standard reflected CRC-32 (polynomial 0xEDB88320) over data, starting
// from start, with no initial or final inversion.
uint32_t Crc32(const void* data, size_t size, uint32_t start);

}  // namespace zk
