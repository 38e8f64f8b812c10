#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/sdl/PixelConvert.h"

namespace platform {
namespace {

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (uint8_t& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

// Every run length around the 16-pixel block size and a whole frame: the SIMD
// variant must write exactly what the scalar one writes, and nothing beyond.
TEST(PixelConvert, Ssse3MatchesScalarForEveryLength) {
  if (!CpuHasSsse3()) GTEST_SKIP() << "no SSSE3 on this CPU";
  std::vector<size_t> lengths;
  for (size_t n = 0; n <= 70; ++n) lengths.push_back(n);
  lengths.push_back(800 * 600);
  for (size_t n : lengths) {
    const std::vector<uint8_t> src = RandomBytes(n * 3, static_cast<uint32_t>(n));
    std::vector<uint8_t> expected(n * 4 + 16, 0xAB), actual(n * 4 + 16, 0xAB);
    ConvertBgrToXrgbScalar(src.data(), expected.data(), n);
    ConvertBgrToXrgbSsse3(src.data(), actual.data(), n);
    ASSERT_EQ(expected, actual) << "pixels: " << n;
  }
}

TEST(PixelConvert, ScalarWritesBlueGreenRedOpaque) {
  const uint8_t src[6] = {1, 2, 3, 250, 251, 252};
  uint8_t dst[8] = {};
  ConvertBgrToXrgbScalar(src, dst, 2);
  const uint8_t want[8] = {1, 2, 3, 0xFF, 250, 251, 252, 0xFF};
  EXPECT_EQ(0, std::memcmp(want, dst, 8));
}

TEST(PixelConvert, FrameRespectsPitchAndLeavesPaddingAlone) {
  const int w = 37, h = 5;
  const std::vector<uint8_t> src = RandomBytes(w * 3 * h, 7);
  const size_t pitch = w * 4 + 12;
  std::vector<uint8_t> dst(pitch * h, 0xCD);
  ConvertFrame(src.data(), w * 3, dst.data(), pitch, w, h);
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> row(w * 4);
    ConvertBgrToXrgbScalar(src.data() + y * w * 3, row.data(), w);
    EXPECT_EQ(0, std::memcmp(row.data(), dst.data() + y * pitch, row.size())) << "row " << y;
    for (size_t k = w * 4; k < pitch; ++k) EXPECT_EQ(0xCD, dst[y * pitch + k]);
  }
}

TEST(PixelConvert, HashSeesEverySingleByteChange) {
  std::vector<uint8_t> frame = RandomBytes(800 * 600 * 3, 3);
  const uint64_t base = HashBytes(frame.data(), frame.size());
  EXPECT_EQ(base, HashBytes(frame.data(), frame.size()));
  // Changes in the 32-byte blocks, in the tail and at both ends.
  for (size_t at : {size_t{0}, size_t{31}, size_t{12345}, frame.size() - 1}) {
    frame[at] ^= 1;
    EXPECT_NE(base, HashBytes(frame.data(), frame.size())) << "byte " << at;
    frame[at] ^= 1;
  }
  EXPECT_NE(HashBytes(frame.data(), 100), HashBytes(frame.data(), 101));
}

}  // namespace
}  // namespace platform
