#include "platform/sdl/PixelConvert.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZK_X86 1
#endif

namespace platform {

void ConvertBgrToXrgbScalar(const uint8_t* src, uint8_t* dst, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
    dst[3] = 0xFF;
    src += 3;
    dst += 4;
  }
}

#ifdef ZK_X86

__attribute__((target("ssse3"))) void ConvertBgrToXrgbSsse3(const uint8_t* src, uint8_t* dst,
                                                            size_t pixels) {
  // 16 pixels per round: three 16-byte loads (48 bytes) become four 16-byte
  // stores; each shuffle spreads four 3-byte pixels over four 4-byte slots.
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  size_t i = 0;
  for (; i + 16 <= pixels; i += 16) {
    const __m128i in0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i in1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
    const __m128i in2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
    const __m128i p0 = in0;                            // bytes 0..11
    const __m128i p1 = _mm_alignr_epi8(in1, in0, 12);  // bytes 12..23
    const __m128i p2 = _mm_alignr_epi8(in2, in1, 8);   // bytes 24..35
    const __m128i p3 = _mm_srli_si128(in2, 4);         // bytes 36..47
    __m128i* out = reinterpret_cast<__m128i*>(dst);
    _mm_storeu_si128(out + 0, _mm_or_si128(_mm_shuffle_epi8(p0, spread), alpha));
    _mm_storeu_si128(out + 1, _mm_or_si128(_mm_shuffle_epi8(p1, spread), alpha));
    _mm_storeu_si128(out + 2, _mm_or_si128(_mm_shuffle_epi8(p2, spread), alpha));
    _mm_storeu_si128(out + 3, _mm_or_si128(_mm_shuffle_epi8(p3, spread), alpha));
    src += 48;
    dst += 64;
  }
  ConvertBgrToXrgbScalar(src, dst, pixels - i);
}

bool CpuHasSsse3() {
  return __builtin_cpu_supports("ssse3");
}

#else

void ConvertBgrToXrgbSsse3(const uint8_t* src, uint8_t* dst, size_t pixels) {
  ConvertBgrToXrgbScalar(src, dst, pixels);
}

bool CpuHasSsse3() {
  return false;
}

#endif

ConvertRowFn BestConvertBgrToXrgb() {
  static const ConvertRowFn best = CpuHasSsse3() ? ConvertBgrToXrgbSsse3 : ConvertBgrToXrgbScalar;
  return best;
}

void ConvertFrame(const uint8_t* src, size_t srcStride, uint8_t* dst, size_t dstPitch, int width,
                  int height) {
  const ConvertRowFn convert = BestConvertBgrToXrgb();
  const size_t w = static_cast<size_t>(width);
  if (srcStride == w * 3 && dstPitch == w * 4) {
    convert(src, dst, w * static_cast<size_t>(height));
    return;
  }
  for (int y = 0; y < height; ++y) convert(src + y * srcStride, dst + y * dstPitch, w);
}

uint64_t HashBytes(const uint8_t* data, size_t size) {
  // Four independent multiply-rotate lanes keep the loop at memory speed.
  constexpr uint64_t kMul1 = 0x9E3779B97F4A7C15ull;
  constexpr uint64_t kMul2 = 0xC2B2AE3D27D4EB4Full;
  auto mix = [](uint64_t h, uint64_t v) {
    h ^= v * kMul2;
    h = (h << 31) | (h >> 33);
    return h * kMul1;
  };
  uint64_t h0 = 1, h1 = 2, h2 = 3, h3 = 4;
  size_t i = 0;
  for (; i + 32 <= size; i += 32) {
    uint64_t v[4];
    std::memcpy(v, data + i, 32);
    h0 = mix(h0, v[0]);
    h1 = mix(h1, v[1]);
    h2 = mix(h2, v[2]);
    h3 = mix(h3, v[3]);
  }
  uint64_t h = mix(mix(mix(mix(size, h0), h1), h2), h3);
  for (; i < size; ++i) h = mix(h, data[i]);
  h ^= h >> 29;
  return h * kMul1;
}

}  // namespace platform
