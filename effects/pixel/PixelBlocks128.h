// 128-bit building blocks of the vector kernels, shared by the SSE2 kernels
// and by the tails of the AVX2 ones (where they are inlined and so get the
// AVX2 encoding). Private to effects/pixel.
//
// The arithmetic runs in 16-bit lanes: the even bytes of a register are
// `x & 0x00FF`, the odd ones `x >> 8`. Every sum fits in 16 bits (at most
// 255 * 256), and the result byte is the high byte of each sum, so the two
// halves recombine with a shift and a mask instead of a pack.
#pragma once
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "effects/pixel/PixelKernels.h"

#define ZK_PIXEL_INLINE __attribute__((always_inline)) inline

namespace zk::pixel::v128 {
namespace {

ZK_PIXEL_INLINE __m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
ZK_PIXEL_INLINE __m128i Load8(const uint8_t* p) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}
ZK_PIXEL_INLINE void Store(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
ZK_PIXEL_INLINE void Store8(uint8_t* p, __m128i v) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
}

ZK_PIXEL_INLINE __m128i HighBytes(__m128i even, __m128i odd, __m128i low) {
  return _mm_or_si128(_mm_srli_epi16(even, 8), _mm_andnot_si128(low, odd));
}

// (a * wa + b * wb) >> 8 per byte, wa + wb = 256.
ZK_PIXEL_INLINE __m128i Mix(__m128i a, __m128i b, __m128i wa, __m128i wb, __m128i low) {
  __m128i even = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(a, low), wa),
                               _mm_mullo_epi16(_mm_and_si128(b, low), wb));
  __m128i odd = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(a, 8), wa),
                              _mm_mullo_epi16(_mm_srli_epi16(b, 8), wb));
  return HighBytes(even, odd, low);
}

// (bg * (255 - m) + pic * m) >> 8 per byte.
ZK_PIXEL_INLINE __m128i MaskMix(__m128i bg, __m128i pic, __m128i m, __m128i low) {
  __m128i mEven = _mm_and_si128(m, low);
  __m128i mOdd = _mm_srli_epi16(m, 8);
  __m128i even = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(bg, low), _mm_sub_epi16(low, mEven)),
                               _mm_mullo_epi16(_mm_and_si128(pic, low), mEven));
  __m128i odd = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(bg, 8), _mm_sub_epi16(low, mOdd)),
                              _mm_mullo_epi16(_mm_srli_epi16(pic, 8), mOdd));
  return HighBytes(even, odd, low);
}

// (src * w) >> 8 per byte.
ZK_PIXEL_INLINE __m128i Scale(__m128i src, __m128i w, __m128i low) {
  return HighBytes(_mm_mullo_epi16(_mm_and_si128(src, low), w),
                   _mm_mullo_epi16(_mm_srli_epi16(src, 8), w), low);
}

// The range loops below go from byte i to n: 16 bytes at a time, then one
// 8-byte group, then the scalar kernel for the last n % 8 bytes.

ZK_PIXEL_INLINE void MixRange(const uint8_t* a, const uint8_t* b, size_t i, size_t n, unsigned w,
                              uint8_t* out) {
  const __m128i low = _mm_set1_epi16(0x00FF);
  const __m128i wa = _mm_set1_epi16(static_cast<short>(256 - w));
  const __m128i wb = _mm_set1_epi16(static_cast<short>(w));
  for (; i + 16 <= n; i += 16) Store(out + i, Mix(Load(a + i), Load(b + i), wa, wb, low));
  if (i + 8 <= n) {
    Store8(out + i, Mix(Load8(a + i), Load8(b + i), wa, wb, low));
    i += 8;
  }
  if (i < n) kScalarKernels.Mix(a + i, b + i, n - i, w, out + i);
}

ZK_PIXEL_INLINE void MaskMixRange(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask,
                                  size_t i, size_t n, uint8_t* out) {
  const __m128i low = _mm_set1_epi16(0x00FF);
  for (; i + 16 <= n; i += 16) {
    Store(out + i, MaskMix(Load(bg + i), Load(pic + i), Load(mask + i), low));
  }
  if (i + 8 <= n) {
    Store8(out + i, MaskMix(Load8(bg + i), Load8(pic + i), Load8(mask + i), low));
    i += 8;
  }
  if (i < n) kScalarKernels.MaskMix(bg + i, pic + i, mask + i, n - i, out + i);
}

// n is a multiple of 8 here. A block whose mask is all zero is the background:
// nothing is stored when the output is the background itself.
ZK_PIXEL_INLINE void MaskBlendRange(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask,
                                    size_t i, size_t n, uint8_t* out) {
  const __m128i low = _mm_set1_epi16(0x00FF);
  const __m128i zero = _mm_setzero_si128();
  const bool inPlace = out == bg;
  for (; i + 16 <= n; i += 16) {
    __m128i m = Load(mask + i);
    __m128i b = Load(bg + i);
    int clear = _mm_movemask_epi8(_mm_cmpeq_epi8(m, zero));
    if (clear == 0xFFFF) {
      if (!inPlace) Store(out + i, b);
      continue;
    }
    __m128i r = MaskMix(b, Load(pic + i), m, low);
    bool lowClear = (clear & 0xFF) == 0xFF;
    bool highClear = (clear >> 8) == 0xFF;
    if (lowClear || highClear) {
      __m128i keep = _mm_set_epi64x(highClear ? -1 : 0, lowClear ? -1 : 0);
      r = _mm_or_si128(_mm_and_si128(keep, b), _mm_andnot_si128(keep, r));
    }
    Store(out + i, r);
  }
  if (i + 8 <= n) {
    __m128i m = Load8(mask + i);
    __m128i b = Load8(bg + i);
    if ((_mm_movemask_epi8(_mm_cmpeq_epi8(m, zero)) & 0xFF) == 0xFF) {
      if (!inPlace) Store8(out + i, b);
    } else {
      Store8(out + i, MaskMix(b, Load8(pic + i), m, low));
    }
  }
}

ZK_PIXEL_INLINE void ScaleRange(const uint8_t* src, size_t i, size_t n, unsigned w, uint8_t* out) {
  const __m128i low = _mm_set1_epi16(0x00FF);
  const __m128i wv = _mm_set1_epi16(static_cast<short>(w));
  for (; i + 16 <= n; i += 16) Store(out + i, Scale(Load(src + i), wv, low));
  if (i + 8 <= n) {
    Store8(out + i, Scale(Load8(src + i), wv, low));
    i += 8;
  }
  if (i < n) kScalarKernels.Scale(src + i, n - i, w, out + i);
}

ZK_PIXEL_INLINE void ScaleAddRange(const uint8_t* src, const uint8_t* add, size_t i, size_t n,
                                   unsigned w, uint8_t* out) {
  const __m128i low = _mm_set1_epi16(0x00FF);
  const __m128i wv = _mm_set1_epi16(static_cast<short>(w));
  for (; i + 16 <= n; i += 16) {
    Store(out + i, _mm_adds_epu8(Scale(Load(src + i), wv, low), Load(add + i)));
  }
  if (i + 8 <= n) {
    Store8(out + i, _mm_adds_epu8(Scale(Load8(src + i), wv, low), Load8(add + i)));
    i += 8;
  }
  if (i < n) kScalarKernels.ScaleAdd(src + i, add + i, n - i, w, out + i);
}

}  // namespace
}  // namespace zk::pixel::v128
