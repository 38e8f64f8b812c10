// Little-endian integers in byte buffers: readers, in-place writers and
// appenders. The readers take a pointer to at least as many bytes as they
// read; the span forms read at an offset that the caller has checked.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zk {

inline uint16_t ReadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline int32_t ReadLeI32(const uint8_t* p) {
  return static_cast<int32_t>(ReadLe32(p));
}

inline uint16_t ReadLe16(std::span<const uint8_t> bytes, size_t at) {
  return ReadLe16(bytes.data() + at);
}
inline uint32_t ReadLe32(std::span<const uint8_t> bytes, size_t at) {
  return ReadLe32(bytes.data() + at);
}
inline int32_t ReadLeI32(std::span<const uint8_t> bytes, size_t at) {
  return ReadLeI32(bytes.data() + at);
}

inline void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutLeI32(uint8_t* p, int32_t v) {
  PutLe32(p, static_cast<uint32_t>(v));
}

inline void AppendLe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void AppendLeI32(std::vector<uint8_t>& out, int32_t v) {
  AppendLe32(out, static_cast<uint32_t>(v));
}

}  // namespace zk
