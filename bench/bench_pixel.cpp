// The pixel routines against the floor memory sets: each routine is timed
// together with a plain pass over the same streams in the same iteration
// (read two and write one for a mix, read three and write one for a masked
// blend), and the ratio of the two times is the counter "ratio_to_floor".
// The reported time is the routine's alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>

#include "effects/pixel/PixelOps.h"

#if ZK_PIXEL_X86
#include <immintrin.h>
#endif

namespace {

using zk::Bitmap;
using zk::PixelIsa;
using Clock = std::chrono::steady_clock;

constexpr int kFrameW = 800, kFrameH = 600;
constexpr int kSpriteW = 400, kSpriteX = 200;

Bitmap RandomFrame(std::mt19937& rng, int w, int h, bool nonZero) {
  Bitmap b;
  b.Resize(w, h);
  for (auto& v : b.Pixels) {
    v = static_cast<uint8_t>(rng());
    if (nonZero && v == 0) v = 1;  // every mask group blended: no shortcut taken
  }
  return b;
}

struct Frames {
  Bitmap A, B, Mask, Out, Sprite, SpriteMask;
  Frames() {
    std::mt19937 rng(1);
    A = RandomFrame(rng, kFrameW, kFrameH, false);
    B = RandomFrame(rng, kFrameW, kFrameH, false);
    Mask = RandomFrame(rng, kFrameW, kFrameH, true);
    Out = RandomFrame(rng, kFrameW, kFrameH, false);
    Sprite = RandomFrame(rng, kSpriteW, kFrameH, false);
    SpriteMask = RandomFrame(rng, kSpriteW, kFrameH, true);
  }
};
Frames& Data() {
  static Frames frames;
  return frames;
}

// ------------------------------------------------------------ the floor: plain passes

// out = a | b | c (c may be null) over n bytes, the widest way the processor allows.
#if ZK_PIXEL_X86
__attribute__((target("avx2"))) void PlainPassAvx2(const uint8_t* a, const uint8_t* b,
                                                   const uint8_t* c, size_t n, uint8_t* out) {
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i v = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i)),
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i)));
    if (c) v = _mm256_or_si256(v, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c + i)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), v);
  }
  for (; i < n; ++i) out[i] = a[i] | b[i] | (c ? c[i] : 0);
}

void PlainPassSse2(const uint8_t* a, const uint8_t* b, const uint8_t* c, size_t n, uint8_t* out) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)));
    if (c) v = _mm_or_si128(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + i)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
  }
  for (; i < n; ++i) out[i] = a[i] | b[i] | (c ? c[i] : 0);
}

void PlainPass(const uint8_t* a, const uint8_t* b, const uint8_t* c, size_t n, uint8_t* out) {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  avx2 ? PlainPassAvx2(a, b, c, n, out) : PlainPassSse2(a, b, c, n, out);
}
#else
void PlainPass(const uint8_t* a, const uint8_t* b, const uint8_t* c, size_t n, uint8_t* out) {
  for (size_t i = 0; i < n; ++i) out[i] = a[i] | b[i] | (c ? c[i] : 0);
}
#endif

// ------------------------------------------------------------ routine and floor, interleaved

template <class Routine, class Floor>
void TimeAgainstFloor(benchmark::State& state, PixelIsa isa, int streams, size_t streamBytes,
                      Routine routine, Floor floor) {
  if (!zk::UsePixelIsa(isa)) {
    state.SkipWithError("not supported by this processor");
    return;
  }
  double routineSec = 0, floorSec = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    routine();
    benchmark::ClobberMemory();
    auto t1 = Clock::now();
    floor();
    benchmark::ClobberMemory();
    auto t2 = Clock::now();
    double r = std::chrono::duration<double>(t1 - t0).count();
    routineSec += r;
    floorSec += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(r);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * streams * int64_t(streamBytes));
  state.counters["ratio_to_floor"] = routineSec / floorSec;
  state.counters["floor_us"] = benchmark::Counter(floorSec * 1e6 / double(state.iterations()));
  zk::UsePixelIsa(zk::BestPixelIsa());
}

void BM_MixFrames(benchmark::State& state, PixelIsa isa) {
  Frames& f = Data();
  size_t frameBytes = f.A.Pixels.size();
  int w = 0;
  TimeAgainstFloor(
      state, isa, 3, frameBytes, [&] { zk::MixFrames(f.A, f.B, (w += 24) & 255, f.Out); },
      [&] {
        PlainPass(f.A.Pixels.data(), f.B.Pixels.data(), nullptr, frameBytes, f.Out.Pixels.data());
      });
}

void BM_MaskBlendSpanFrame(benchmark::State& state, PixelIsa isa) {
  Frames& f = Data();
  size_t frameBytes = f.A.Pixels.size();
  const int groups = kFrameW * 3 / 8;
  TimeAgainstFloor(
      state, isa, 4, frameBytes,
      [&] {
        for (int y = 0; y < kFrameH; ++y) {
          zk::MaskBlendSpan(f.A.Row(y), f.B.Row(y), groups, f.Mask.Row(y), f.Out.Row(y));
        }
      },
      [&] {
        PlainPass(f.A.Pixels.data(), f.B.Pixels.data(), f.Mask.Pixels.data(), frameBytes,
                  f.Out.Pixels.data());
      });
}

// A 400 x 600 sprite drawn in place into the middle of a frame: per row it
// reads the destination, the picture and the mask and writes the destination.
void BM_DrawMaskedSprite(benchmark::State& state, PixelIsa isa) {
  Frames& f = Data();
  const size_t rowBytes = kSpriteW * 3;
  TimeAgainstFloor(
      state, isa, 4, rowBytes * kFrameH,
      [&] { zk::DrawMasked(f.Out, f.Sprite, 0, kSpriteX, f.SpriteMask); },
      [&] {
        for (int y = 0; y < kFrameH; ++y) {
          uint8_t* d = f.Out.Row(y) + kSpriteX * 3;
          PlainPass(d, f.Sprite.Row(y), f.SpriteMask.Row(y), rowBytes, d);
        }
      });
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (PixelIsa isa : {PixelIsa::kScalar, PixelIsa::kSse2, PixelIsa::kAvx2}) {
    if (!zk::PixelIsaSupported(isa)) continue;
    std::string suffix = std::string("/") + zk::PixelIsaName(isa);
    benchmark::RegisterBenchmark(("MixFrames" + suffix).c_str(), BM_MixFrames, isa)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("MaskBlendSpan_Frame" + suffix).c_str(), BM_MaskBlendSpanFrame,
                                 isa)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("DrawMasked_400x600" + suffix).c_str(), BM_DrawMaskedSprite, isa)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
