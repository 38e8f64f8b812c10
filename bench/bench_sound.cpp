// Decoding speed of the WADY codings: ten seconds of 44.1 kHz stereo in the
// delta coding (music) and the ramp coding (effects), as output bytes per
// second, against a plain memcpy of the same output. A table of ratios is
// printed after the run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "audio/SoundCodec.h"

namespace {

using namespace zk;

constexpr uint32_t kRate = 44100;
constexpr size_t kFrames = kRate * 10;
constexpr size_t kPcmBytes = kFrames * 2 * 2;

// Two tones with some noise, like music.
std::vector<int16_t> MusicLike() {
  std::vector<int16_t> s(kFrames * 2);
  std::mt19937 rng(1);
  for (size_t i = 0; i < kFrames; ++i)
    for (int c = 0; c < 2; ++c) {
      const double t = static_cast<double>(i) / kRate;
      const double v = 9000 * std::sin(2 * M_PI * 220 * (c + 1) * t) +
                       4000 * std::sin(2 * M_PI * 331 * t) + static_cast<int>(rng() % 512) - 256;
      s[2 * i + c] = static_cast<int16_t>(v);
    }
  return s;
}

struct Fixture {
  std::vector<uint8_t> delta, ramp;
  Fixture() {
    const std::vector<int16_t> pcm = MusicLike();
    EncodeWadyDelta(pcm, 2, kRate, 0, delta);
    EncodeWadyRamp(pcm, 2, kRate, ramp);
  }
};

const Fixture& Data() {
  static const Fixture f;
  return f;
}

void BM_Delta(benchmark::State& state) {
  const std::vector<uint8_t>& entry = Data().delta;
  WadyHeader h;
  ParseWadyHeader(entry, h);
  std::vector<int16_t> out(kFrames * 2);
  const std::span<const uint8_t> data = std::span(entry).subspan(kWadyHeaderSize);
  for (auto _ : state) {
    int16_t left = 0, right = 0;
    DecodeWadyDelta(data, out, h.Scale, left, right, 2, kFrames);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPcmBytes));
  state.counters["stored_bytes"] = static_cast<double>(entry.size());
}

void BM_Ramp(benchmark::State& state) {
  const std::vector<uint8_t>& entry = Data().ramp;
  for (auto _ : state) {
    auto s = LoadWadyEffect(entry);
    benchmark::DoNotOptimize(s->Samples.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPcmBytes));
  state.counters["stored_bytes"] = static_cast<double>(entry.size());
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> src(kPcmBytes, 1), dst(kPcmBytes);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), kPcmBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPcmBytes));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Delta)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ramp)->Unit(benchmark::kMicrosecond);

// Collects the time per iteration of every run and prints the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0)
        times_[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double memcpy = times_["BM_Memcpy"];
    std::printf("\n%-8s %10s %10s %10s\n", "coding", "ms", "MB/s", "x memcpy");
    for (const char* name : {"BM_Delta", "BM_Ramp"}) {
      const double t = times_[name];
      if (t <= 0 || memcpy <= 0) continue;
      std::printf("%-8s %10.3f %10.0f %10.1f\n", name + 3, t * 1e3, kPcmBytes / t / 1e6,
                  t / memcpy);
    }
    if (memcpy > 0)
      std::printf("memcpy of the output (%zu bytes): %.3f ms\n", kPcmBytes, memcpy * 1e3);
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
