// Decoding speed of the compressed picture format: an 800 x 600 picture in
// each flag combination, photo-like and flat, as output bytes per second,
// against a memcpy of the output and against libjpeg-turbo decoding the same
// picture. A table of ratios is printed after the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "resources/Picture.h"

namespace {

using namespace zk;

constexpr int kW = 800, kH = 600;
constexpr size_t kRaw = static_cast<size_t>(kW) * kH * 3;

// Smooth gradients with fine noise, like a photograph.
Bitmap PhotoLike() {
  Bitmap b;
  b.Resize(kW, kH);
  std::mt19937 rng(1);
  for (int y = 0; y < kH; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kW; ++x) {
      const int noise = static_cast<int>(rng() % 9) - 4;
      row[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / kW + noise, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / kH + noise, 0, 255));
      row[3 * x + 2] = static_cast<uint8_t>(std::clamp((x + y) * 128 / (kW + kH) + 64 + noise, 0, 255));
    }
  }
  return b;
}

// Flat colour areas with outlines and a soft shading band, like a drawn picture.
Bitmap FlatLike() {
  Bitmap b;
  b.Resize(kW, kH);
  for (int y = 0; y < kH; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = 0; x < kW; ++x) {
      uint8_t c[3] = {230, 220, 250};
      const int dx = x - 400, dy = y - 300;
      if (dx * dx + dy * dy < 200 * 200) c[0] = 40, c[1] = 90, c[2] = 200;
      if (dx * dx + dy * dy < 120 * 120) c[0] = 60, c[1] = static_cast<uint8_t>(110 + dy / 8), c[2] = 220;
      if (x > 100 && x < 200 && y > 300) c[0] = 20, c[1] = 160, c[2] = 30;
      if (y > 520) c[0] = c[1] = c[2] = static_cast<uint8_t>(80 + (y - 520));
      const int ring = dx * dx + dy * dy;
      if ((ring > 198 * 198 && ring < 202 * 202) || x == 100 || x == 200) c[0] = c[1] = c[2] = 0;
      row[3 * x] = c[0];
      row[3 * x + 1] = c[1];
      row[3 * x + 2] = c[2];
    }
  }
  return b;
}

struct Fixture {
  std::vector<uint8_t> entries[2][4];  // [picture][flags index]
  std::vector<uint8_t> jpegs[2];
  Fixture() {
    const Bitmap pictures[2] = {PhotoLike(), FlatLike()};
    const uint8_t flags[4] = {0x00, 0x40, 0x80, 0xC0};
    for (int p = 0; p < 2; ++p) {
      for (int f = 0; f < 4; ++f) EncodePicture(pictures[p], flags[f], entries[p][f]);
      EncodeJpeg(pictures[p], 90, jpegs[p]);
    }
  }
};

const Fixture& Data() {
  static const Fixture f;
  return f;
}

const char* kPictureNames[2] = {"photo", "flat"};

void BM_Decode(benchmark::State& state) {
  const int pic = static_cast<int>(state.range(0)), flags = static_cast<int>(state.range(1));
  const std::vector<uint8_t>& entry = Data().entries[pic][flags];
  Bitmap out;
  for (auto _ : state) {
    DecodePicture(entry, out);
    benchmark::DoNotOptimize(out.Pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRaw));
  state.counters["stored_bytes"] = static_cast<double>(entry.size());
}

void BM_Jpeg(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = Data().jpegs[state.range(0)];
  Bitmap out;
  for (auto _ : state) {
    DecodeJpeg(jpeg, out);
    benchmark::DoNotOptimize(out.Pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRaw));
  state.counters["stored_bytes"] = static_cast<double>(jpeg.size());
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint8_t> src(kRaw, 1), dst(kRaw);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), kRaw);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRaw));
}

void DecodeArgs(benchmark::internal::Benchmark* b) {
  for (int p = 0; p < 2; ++p)
    for (int f = 0; f < 4; ++f) b->Args({p, f});
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Decode)->Apply(DecodeArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jpeg)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
    std::printf("\n%-8s %-6s %10s %10s %12s %12s\n", "picture", "flags", "ms", "MB/s",
                "x memcpy", "x jpeg time");
    const char* flagNames[4] = {"0x00", "0x40", "0x80", "0xC0"};
    for (int p = 0; p < 2; ++p) {
      const double jpeg = times_["BM_Jpeg/" + std::to_string(p)];
      for (int f = 0; f < 4; ++f) {
        const double t = times_["BM_Decode/" + std::to_string(p) + "/" + std::to_string(f)];
        if (t <= 0) continue;
        std::printf("%-8s %-6s %10.3f %10.0f %12.1f %12.2f\n", kPictureNames[p], flagNames[f],
                    t * 1e3, kRaw / t / 1e6, t / memcpy, t / jpeg);
      }
      if (jpeg > 0)
        std::printf("%-8s %-6s %10.3f %10.0f %12.1f %12.2f\n", kPictureNames[p], "jpeg", jpeg * 1e3,
                    kRaw / jpeg / 1e6, jpeg / memcpy, 1.0);
    }
    if (memcpy > 0) std::printf("memcpy of the output: %.3f ms\n", memcpy * 1e3);
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
