// The AVX2 kernels: 32 bytes at a time, the rest with the 128-bit blocks.
// Compiled for AVX2 function by function, so the build needs no global flag;
// they run only where the processor has AVX2 (PixelOps.cpp checks).
#include "effects/pixel/PixelKernels.h"
#include "effects/pixel/PixelOps.h"

#if ZK_PIXEL_X86
#include <immintrin.h>

#include "effects/pixel/PixelBlocks128.h"

#define ZK_AVX2 __attribute__((target("avx2")))

namespace zk::pixel {
namespace {

ZK_AVX2 ZK_PIXEL_INLINE __m256i Load(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
ZK_AVX2 ZK_PIXEL_INLINE void Store(uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

ZK_AVX2 ZK_PIXEL_INLINE __m256i HighBytes(__m256i even, __m256i odd, __m256i low) {
  return _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_andnot_si256(low, odd));
}

ZK_AVX2 ZK_PIXEL_INLINE __m256i Mix(__m256i a, __m256i b, __m256i wa, __m256i wb, __m256i low) {
  __m256i even = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(a, low), wa),
                                  _mm256_mullo_epi16(_mm256_and_si256(b, low), wb));
  __m256i odd = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(a, 8), wa),
                                 _mm256_mullo_epi16(_mm256_srli_epi16(b, 8), wb));
  return HighBytes(even, odd, low);
}

// (bg * (255 - m) + pic * m) >> 8 per byte. With the pixels moved to signed
// bytes (v - 128), one multiply-add of the interleaved weights (255 - m, m)
// and pixels (bg, pic) gives (255 - m) * bg' + m * pic', which lies within
// -32640..32385 (no saturation); adding 255 * 128 restores the sum.
ZK_AVX2 ZK_PIXEL_INLINE __m256i MaskMix(__m256i bg, __m256i pic, __m256i m) {
  const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
  const __m256i restore = _mm256_set1_epi16(255 * 128);
  __m256i mInv = _mm256_xor_si256(m, _mm256_set1_epi8(static_cast<char>(0xFF)));
  __m256i bgS = _mm256_xor_si256(bg, bias);
  __m256i picS = _mm256_xor_si256(pic, bias);
  __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(mInv, m), _mm256_unpacklo_epi8(bgS, picS));
  __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(mInv, m), _mm256_unpackhi_epi8(bgS, picS));
  lo = _mm256_srli_epi16(_mm256_add_epi16(lo, restore), 8);
  hi = _mm256_srli_epi16(_mm256_add_epi16(hi, restore), 8);
  return _mm256_packus_epi16(lo, hi);
}

ZK_AVX2 ZK_PIXEL_INLINE __m256i Scale(__m256i src, __m256i w, __m256i low) {
  return HighBytes(_mm256_mullo_epi16(_mm256_and_si256(src, low), w),
                   _mm256_mullo_epi16(_mm256_srli_epi16(src, 8), w), low);
}

ZK_AVX2 void MixAvx2(const uint8_t* a, const uint8_t* b, size_t n, unsigned w, uint8_t* out) {
  if (OutputAhead(a, out, n) || OutputAhead(b, out, n)) return kScalarKernels.Mix(a, b, n, w, out);
  const __m256i low = _mm256_set1_epi16(0x00FF);
  const __m256i wa = _mm256_set1_epi16(static_cast<short>(256 - w));
  const __m256i wb = _mm256_set1_epi16(static_cast<short>(w));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) Store(out + i, Mix(Load(a + i), Load(b + i), wa, wb, low));
  v128::MixRange(a, b, i, n, w, out);
}

// Each 64-bit lane is one group: a lane whose mask is zero keeps the background.
ZK_AVX2 void MaskBlendAvx2(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask,
                           size_t groups, uint8_t* out) {
  size_t n = groups * 8;
  if (OutputAhead(bg, out, n) || OutputAhead(pic, out, n) || OutputAhead(mask, out, n)) {
    return kScalarKernels.MaskBlend(bg, pic, mask, groups, out);
  }
  const __m256i zero = _mm256_setzero_si256();
  const bool inPlace = out == bg;
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i m = Load(mask + i);
    __m256i b = Load(bg + i);
    __m256i clear = _mm256_cmpeq_epi64(m, zero);
    int clearBits = _mm256_movemask_epi8(clear);
    if (clearBits == -1) {
      if (!inPlace) Store(out + i, b);
      continue;
    }
    __m256i r = MaskMix(b, Load(pic + i), m);
    if (clearBits != 0) r = _mm256_blendv_epi8(r, b, clear);
    Store(out + i, r);
  }
  v128::MaskBlendRange(bg, pic, mask, i, n, out);
}

ZK_AVX2 void MaskMixAvx2(const uint8_t* bg, const uint8_t* pic, const uint8_t* mask, size_t n,
                         uint8_t* out) {
  if (OutputAhead(bg, out, n) || OutputAhead(pic, out, n) || OutputAhead(mask, out, n)) {
    return kScalarKernels.MaskMix(bg, pic, mask, n, out);
  }
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    Store(out + i, MaskMix(Load(bg + i), Load(pic + i), Load(mask + i)));
  }
  v128::MaskMixRange(bg, pic, mask, i, n, out);
}

ZK_AVX2 void ScaleAvx2(const uint8_t* src, size_t n, unsigned w, uint8_t* out) {
  if (OutputAhead(src, out, n)) return kScalarKernels.Scale(src, n, w, out);
  const __m256i low = _mm256_set1_epi16(0x00FF);
  const __m256i wv = _mm256_set1_epi16(static_cast<short>(w));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) Store(out + i, Scale(Load(src + i), wv, low));
  v128::ScaleRange(src, i, n, w, out);
}

ZK_AVX2 void ScaleAddAvx2(const uint8_t* src, const uint8_t* add, size_t n, unsigned w,
                          uint8_t* out) {
  if (OutputAhead(src, out, n) || OutputAhead(add, out, n)) {
    return kScalarKernels.ScaleAdd(src, add, n, w, out);
  }
  const __m256i low = _mm256_set1_epi16(0x00FF);
  const __m256i wv = _mm256_set1_epi16(static_cast<short>(w));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    Store(out + i, _mm256_adds_epu8(Scale(Load(src + i), wv, low), Load(add + i)));
  }
  v128::ScaleAddRange(src, add, i, n, w, out);
}

}  // namespace

const Kernels kAvx2Kernels = {MixAvx2, MaskBlendAvx2, MaskMixAvx2, ScaleAvx2, ScaleAddAvx2};

}  // namespace zk::pixel

namespace zk {

void MixSpan_AVX2(const uint8_t* a, const uint8_t* b, int groups, uint8_t* out) {
  if (groups > 0) pixel::kAvx2Kernels.Mix(a, b, size_t(groups) * 8, unsigned(MixWeight()), out);
}

void MaskBlendSpan_AVX2(const uint8_t* background, const uint8_t* picture, int groups,
                        const uint8_t* mask, uint8_t* out) {
  if (groups > 0) pixel::kAvx2Kernels.MaskBlend(background, picture, mask, size_t(groups), out);
}

void ScaleAddSpan_AVX2(const uint8_t* source, const uint8_t* addend, int groups, uint8_t* out) {
  if (groups > 0) {
    pixel::kAvx2Kernels.ScaleAdd(source, addend, size_t(groups) * 8, unsigned(MixWeight()), out);
  }
}

}  // namespace zk
#endif
