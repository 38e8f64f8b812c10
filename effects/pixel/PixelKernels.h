// The byte kernels behind the pixel routines, one table per instruction set.
// Private to effects/pixel.
//
// Every kernel reads each 8-byte group of its inputs completely before it
// writes that group of the output, so an output that is the same buffer as an
// input works. A vector kernel whose output starts inside an input a little
// further on (where reading several groups at once would see different bytes)
// hands the whole call to the scalar kernel.
#pragma once
#include <cstddef>
#include <cstdint>

#include "effects/pixel/PixelOps.h"

namespace zk::pixel {

struct Kernels {
  // out = (a * (256 - w) + b * w) >> 8 over n bytes, 0 <= w <= 256.
  void (*Mix)(const uint8_t* a, const uint8_t* b, size_t n, unsigned w, uint8_t* out);
  // Groups of 8 bytes: an all-zero mask group copies bg, any other gives
  // (bg * (255 - m) + pic * m) >> 8 per byte.
  void (*MaskBlend)(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t groups,
                    uint8_t* out);
  // (bg * (255 - m) + pic * m) >> 8 over n bytes, no shortcut.
  void (*MaskMix)(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t n,
                  uint8_t* out);
  // (src * w) >> 8 over n bytes, 0 <= w <= 256.
  void (*Scale)(const uint8_t* src, size_t n, unsigned w, uint8_t* out);
  // min(255, ((src * w) >> 8) + add) over n bytes, 0 <= w <= 256.
  void (*ScaleAdd)(const uint8_t* src, const uint8_t* add, size_t n, unsigned w, uint8_t* out);
};

extern const Kernels kScalarKernels;
#if ZK_PIXEL_X86
extern const Kernels kSse2Kernels;
extern const Kernels kAvx2Kernels;
#endif

// True when out starts inside [in + 1, in + n): the one overlap in which
// processing several groups at once differs from going group by group.
inline bool OutputAhead(const uint8_t* in, const uint8_t* out, size_t n) {
  auto i = reinterpret_cast<uintptr_t>(in);
  auto o = reinterpret_cast<uintptr_t>(out);
  return o > i && o - i < n;
}

inline unsigned MixByte(unsigned a, unsigned b, unsigned w) {
  return (a * (256 - w) + b * w) >> 8;
}
inline unsigned MaskByte(unsigned bg, unsigned pic, unsigned m) {
  return (bg * (255 - m) + pic * m) >> 8;
}

}  // namespace zk::pixel
