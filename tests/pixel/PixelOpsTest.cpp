#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "effects/pixel/PixelOps.h"

namespace zk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(std::mt19937& rng, size_t n) {
  Bytes b(n);
  for (auto& v : b) v = static_cast<uint8_t>(rng());
  return b;
}

// Mask bytes in runs of transparent (0), opaque (255) and arbitrary values, so
// that all-zero groups, mixed groups and full groups all occur.
Bytes RandomMask(std::mt19937& rng, size_t n) {
  Bytes m(n);
  for (size_t i = 0; i < n;) {
    size_t run = 1 + rng() % 20;
    int kind = rng() % 4;
    for (; run && i < n; --run, ++i) {
      m[i] = kind == 0 || kind == 1 ? 0 : kind == 2 ? 255 : static_cast<uint8_t>(rng());
    }
  }
  return m;
}

Bitmap RandomBitmap(std::mt19937& rng, int w, int h, bool asMask = false) {
  Bitmap b;
  b.Resize(w, h);
  const Bytes bytes = asMask ? RandomMask(rng, b.Pixels.size()) : RandomBytes(rng, b.Pixels.size());
  b.Pixels.assign(bytes.begin(), bytes.end());
  return b;
}

Bitmap Solid(int w, int h, uint8_t v) {
  Bitmap b;
  b.Resize(w, h);
  b.Fill(v, v, v);
  return b;
}

std::vector<PixelIsa> SupportedIsas() {
  std::vector<PixelIsa> isas;
  for (PixelIsa isa : {PixelIsa::kScalar, PixelIsa::kSse2, PixelIsa::kAvx2}) {
    if (PixelIsaSupported(isa)) isas.push_back(isa);
  }
  return isas;
}

// Runs the routines with one version of the kernels chosen.
class PixelIsaTest : public testing::TestWithParam<PixelIsa> {
 protected:
  void SetUp() override { ASSERT_TRUE(UsePixelIsa(GetParam())); }
  void TearDown() override { UsePixelIsa(BestPixelIsa()); }
};

INSTANTIATE_TEST_SUITE_P(Isa, PixelIsaTest, testing::ValuesIn(SupportedIsas()),
                         [](const auto& info) { return std::string(PixelIsaName(info.param)); });

// ------------------------------------------------------------ span versions against the reference

struct SpanVersion {
  const char* Name;
  void (*Mix)(const uint8_t*, const uint8_t*, int, uint8_t*);
  void (*MaskBlend)(const uint8_t*, const uint8_t*, int, const uint8_t*, uint8_t*);
  void (*ScaleAdd)(const uint8_t*, const uint8_t*, int, uint8_t*);
};

std::vector<SpanVersion> VectorSpanVersions() {
  std::vector<SpanVersion> v;
#if ZK_PIXEL_X86
  v.push_back({"SSE2", MixSpan_SSE2, MaskBlendSpan_SSE2, ScaleAddSpan_SSE2});
  if (PixelIsaSupported(PixelIsa::kAvx2)) {
    v.push_back({"AVX2", MixSpan_AVX2, MaskBlendSpan_AVX2, ScaleAddSpan_AVX2});
  }
#endif
  return v;
}

const SpanVersion kScalarSpans = {"Scalar", MixSpan_Scalar, MaskBlendSpan_Scalar,
                                  ScaleAddSpan_Scalar};

// Calls one span routine of a version on copies of the inputs. `out` selects
// the output: -1 a buffer of its own, k >= 0 input k itself, and with `shift`
// > 0 input k from `shift` bytes on (an output overlapping its input). The
// whole buffer, guard bytes after the span included, is returned.
enum class Routine { kMix, kMaskBlend, kScaleAdd };
Bytes RunSpan(const SpanVersion& v, Routine routine, std::vector<Bytes> inputs, int groups,
              size_t offset, int out, size_t shift = 0) {
  Bytes own(inputs[0].size(), 0xA5);
  uint8_t* o = out < 0 ? own.data() + offset : inputs[out].data() + offset + shift;
  const uint8_t* p[3];
  for (size_t i = 0; i < inputs.size(); ++i) p[i] = inputs[i].data() + offset;
  switch (routine) {
    case Routine::kMix:
      v.Mix(p[0], p[1], groups, o);
      break;
    case Routine::kMaskBlend:
      v.MaskBlend(p[0], p[1], groups, p[2], o);
      break;
    case Routine::kScaleAdd:
      v.ScaleAdd(p[0], p[1], groups, o);
      break;
  }
  return out < 0 ? own : inputs[out];
}

TEST(PixelSpanVersions, MatchTheReferenceByteForByte) {
  std::mt19937 rng(5);
  const int kGroupCounts[] = {0, 1, 2, 3, 4, 5, 7, 9, 12, 31, 33, 300};
  const int kWeights[] = {0, 1, 127, 128, 255, 256};
  for (const SpanVersion& v : VectorSpanVersions()) {
    for (int groups : kGroupCounts) {
      for (size_t offset : {0, 1, 3}) {
        SCOPED_TRACE(std::string(v.Name) + " groups " + std::to_string(groups) + " offset " +
                     std::to_string(offset));
        size_t size = offset + groups * 8 + 40;  // guard bytes after the span
        Bytes a = RandomBytes(rng, size), b = RandomBytes(rng, size);
        Bytes mask = RandomMask(rng, size);
        for (int w : kWeights) {
          SetMixWeight(w);
          for (int out : {-1, 0, 1}) {
            EXPECT_EQ(RunSpan(v, Routine::kMix, {a, b}, groups, offset, out),
                      RunSpan(kScalarSpans, Routine::kMix, {a, b}, groups, offset, out))
                << "weight " << w << " out " << out;
            EXPECT_EQ(RunSpan(v, Routine::kScaleAdd, {a, b}, groups, offset, out),
                      RunSpan(kScalarSpans, Routine::kScaleAdd, {a, b}, groups, offset, out))
                << "weight " << w << " out " << out;
          }
        }
        for (int out : {-1, 0, 1, 2}) {
          EXPECT_EQ(RunSpan(v, Routine::kMaskBlend, {a, b, mask}, groups, offset, out),
                    RunSpan(kScalarSpans, Routine::kMaskBlend, {a, b, mask}, groups, offset, out))
              << "out " << out;
        }
      }
    }
  }
}

// Every combination of input bytes and weight gives the formula's byte, in
// every version (mask bytes 0..255 in a row: a zero byte sits in a non-zero
// group, so the formula applies to it too).
TEST(PixelSpanVersions, ExactForEveryInputByte) {
  std::vector<SpanVersion> versions = VectorSpanVersions();
  versions.push_back(kScalarSpans);
  Bytes ramp(256), out(256), x(256), y(256), expected(256);
  for (int i = 0; i < 256; ++i) ramp[i] = static_cast<uint8_t>(i);
  for (const SpanVersion& v : versions) {
    SCOPED_TRACE(v.Name);
    for (int p = 0; p < 256; ++p) {
      std::fill(x.begin(), x.end(), uint8_t(p));
      for (int q = 0; q < 256; ++q) {
        std::fill(y.begin(), y.end(), uint8_t(q));
        v.MaskBlend(x.data(), y.data(), 32, ramp.data(), out.data());
        for (int m = 0; m < 256; ++m) expected[m] = uint8_t((p * (255 - m) + q * m) >> 8);
        ASSERT_EQ(out, expected) << "bg " << p << " pic " << q;
      }
      // One weight per call, the second input running through 0..255.
      for (int w = 0; w <= 256; ++w) {
        SetMixWeight(w);
        v.Mix(x.data(), ramp.data(), 32, out.data());
        for (int q = 0; q < 256; ++q) expected[q] = uint8_t((p * (256 - w) + q * w) >> 8);
        ASSERT_EQ(out, expected) << "a " << p << " w " << w;
        v.ScaleAdd(x.data(), ramp.data(), 32, out.data());
        for (int q = 0; q < 256; ++q) expected[q] = uint8_t(std::min(255, ((p * w) >> 8) + q));
        ASSERT_EQ(out, expected) << "source " << p << " w " << w;
      }
    }
  }
}

// An output a few bytes into its own input sees the bytes written for earlier
// groups, exactly as going group by group does.
TEST(PixelSpanVersions, OutputOverlappingItsInputMatchesTheReference) {
  std::mt19937 rng(6);
  SetMixWeight(77);
  for (const SpanVersion& v : VectorSpanVersions()) {
    for (size_t shift : {1, 3, 8, 17}) {
      SCOPED_TRACE(std::string(v.Name) + " shift " + std::to_string(shift));
      Bytes a = RandomBytes(rng, 400), b = RandomBytes(rng, 400), mask = RandomMask(rng, 400);
      EXPECT_EQ(RunSpan(v, Routine::kMix, {a, b}, 40, 0, 0, shift),
                RunSpan(kScalarSpans, Routine::kMix, {a, b}, 40, 0, 0, shift));
      EXPECT_EQ(RunSpan(v, Routine::kMaskBlend, {a, b, mask}, 40, 0, 1, shift),
                RunSpan(kScalarSpans, Routine::kMaskBlend, {a, b, mask}, 40, 0, 1, shift));
      EXPECT_EQ(RunSpan(v, Routine::kScaleAdd, {a, b}, 40, 0, 0, shift),
                RunSpan(kScalarSpans, Routine::kScaleAdd, {a, b}, 40, 0, 0, shift));
    }
  }
}

// ------------------------------------------------------------ exact arithmetic, every version

// 5 groups: more than a vector, and not a multiple of one.
constexpr int kGroups = 5;
constexpr size_t kSpan = kGroups * 8;

TEST_P(PixelIsaTest, MixWeightsAtTheEnds) {
  struct Case {
    int W;
    uint8_t A, B, Expected;  // MixFrames: (A * w + B * (256 - w)) >> 8
  } cases[] = {{0, 17, 201, 201},  {256, 17, 201, 17}, {128, 255, 0, 127},
               {128, 0, 255, 127}, {1, 255, 0, 0},     {255, 255, 0, 254}};
  for (const Case& c : cases) {
    Bitmap a = Solid(11, 3, c.A), b = Solid(11, 3, c.B), out = Solid(11, 3, 9);
    MixFrames(a, b, c.W, out);
    EXPECT_EQ(out.Pixels, Solid(11, 3, c.Expected).Pixels) << "w " << c.W;
    EXPECT_EQ(MixWeight(), c.W);
  }
  // MixSpan weighs its second span by w.
  Bytes a(kSpan, 255), b(kSpan, 0), out(kSpan);
  SetMixWeight(64);
  MixSpan(a.data(), b.data(), kGroups, out.data());
  EXPECT_EQ(out, Bytes(kSpan, 191));
}

TEST_P(PixelIsaTest, MaskBlendUsesWeights255AndKeepsClearGroups) {
  Bytes bg(kSpan, 200), pic(kSpan, 255), mask(kSpan, 0), out(kSpan, 7);
  mask[8] = 1;     // group 1: one non-zero byte
  mask[16] = 255;  // group 2: opaque byte over picture 255
  mask[24] = 255;  // group 3: opaque byte over picture 0
  pic[24] = 0;
  MaskBlendSpan(bg.data(), pic.data(), kGroups, mask.data(), out.data());
  Bytes expected(kSpan, 200);                         // groups 0 and 4 are copies
  for (size_t i = 8; i < 32; ++i) expected[i] = 199;  // 200 * 255 >> 8
  expected[8] = (200 * 254 + 255 * 1) >> 8;           // 199
  expected[16] = 254;                                 // 255 * 255 >> 8
  expected[24] = 0;
  EXPECT_EQ(out, expected);

  MaskBlendSpan(bg.data(), pic.data(), kGroups, mask.data(), bg.data());  // in place
  EXPECT_EQ(bg, expected);
}

TEST_P(PixelIsaTest, ScaleAddSaturates) {
  struct Case {
    int W;
    uint8_t Src, Add, Expected;
  } cases[] = {{256, 255, 10, 255},
               {128, 200, 27, 127},
               {0, 255, 3, 3},
               {255, 255, 0, 254},
               {200, 255, 56, 255}};
  for (const Case& c : cases) {
    Bytes src(kSpan, c.Src), add(kSpan, c.Add), out(kSpan);
    SetMixWeight(c.W);
    ScaleAddSpan(src.data(), add.data(), kGroups, out.data());
    EXPECT_EQ(out, Bytes(kSpan, c.Expected)) << "w " << c.W;
  }
}

// Whole groups only: the last pixels * 3 % 8 bytes stay as they were.
TEST_P(PixelIsaTest, MixSpanPixelsWritesWholeGroupsOnly) {
  Bytes a(64, 0), b(64, 255), out(64, 9);
  MixSpanPixels(a.data(), b.data(), 13, 256, out.data());  // 39 bytes: 4 groups
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 32), Bytes(32, 255));
  EXPECT_EQ(Bytes(out.begin() + 32, out.end()), Bytes(32, 9));
  EXPECT_EQ(MixWeight(), 256);
}

TEST_P(PixelIsaTest, FrameRoutinesMatchTheReference) {
  std::mt19937 rng(7);
  for (auto [w, h] : {std::pair{800, 3}, {37, 5}, {83, 7}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    Bitmap a = RandomBitmap(rng, w, h), b = RandomBitmap(rng, w, h);
    Bitmap mask = RandomBitmap(rng, w, h, true);
    auto run = [&](PixelIsa isa) {
      UsePixelIsa(isa);
      std::vector<Bitmap> outs(4, Solid(w, h, 3));
      MixFrames(a, b, 93, outs[0]);
      ScaleFrame(a, outs[1], 201);
      MaskMixFrames(a, b, mask, outs[2]);
      outs[3] = b;
      MixTile(a, b, w - 50, -20, 140, outs[3]);
      return outs;
    };
    std::vector<Bitmap> reference = run(PixelIsa::kScalar), got = run(GetParam());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].Pixels, reference[i].Pixels) << i;
  }
}

TEST_P(PixelIsaTest, FrameRoutinesExactValues) {
  Bitmap previous = Solid(800, 600, 200), scene = Solid(800, 600, 100), out = Solid(800, 600, 1);
  // No all-zero shortcut in the full-frame mask mix: a clear mask gives 199.
  MaskMixFrames(previous, scene, Solid(800, 600, 0), out);
  EXPECT_EQ(out.Pixels, Solid(800, 600, 199).Pixels);
  ScaleFrame(previous, out, 128);
  EXPECT_EQ(out.Pixels, Solid(800, 600, 100).Pixels);
  EXPECT_EQ(MixWeight(), 128);
  ScaleFrame(previous, out, 999);  // clamped to 256: an exact copy
  EXPECT_EQ(out.Pixels, previous.Pixels);

  // A tile at the bottom-right corner is cut to 40 x 30 and nothing else changes.
  out = Solid(800, 600, 1);
  MixTile(previous, scene, 760, 570, 256, out);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t expected = x >= 760 && y >= 570 ? 200 : 1;
      ASSERT_EQ(out.Row(y)[x * 3 + 2], expected) << x << "," << y;
    }
  }
}

// ------------------------------------------------------------ masked draws

// An independent model of the clipped masked draw: every picture byte that
// lands inside the destination is blended; within the whole blocks of 8
// visible pixels an all-zero 8-byte mask group leaves the destination as it
// was, and the last e % 8 pixels are blended byte by byte.
void ModelDraw(Bitmap& dst, const Bitmap& pic, const Bitmap& mask, int x, int y) {
  int64_t pw = std::min(pic.Width, mask.Width), ph = std::min(pic.Height, mask.Height);
  int64_t c0 = std::max<int64_t>(0, -int64_t{x});
  int64_t c1 = std::min<int64_t>(pw, int64_t{dst.Width} - x);
  if (c1 <= c0) return;
  int64_t visibleBytes = (c1 - c0) * 3, blockBytes = ((c1 - c0) >> 3) * 24;
  for (int64_t py = 0; py < ph; ++py) {
    int64_t dy = int64_t{y} + py;
    if (dy < 0 || dy >= dst.Height) continue;
    uint8_t* d = dst.Row(int(dy)) + (int64_t{x} + c0) * 3;
    const uint8_t* s = pic.Row(int(py)) + c0 * 3;
    const uint8_t* m = mask.Row(int(py)) + c0 * 3;
    for (int64_t k = 0; k < visibleBytes; ++k) {
      if (k < blockBytes) {
        int64_t g = k / 8 * 8;
        bool clear = true;
        for (int j = 0; j < 8; ++j) clear = clear && m[g + j] == 0;
        if (clear) continue;
      }
      d[k] = static_cast<uint8_t>((d[k] * (255 - m[k]) + s[k] * m[k]) >> 8);
    }
  }
}

TEST_P(PixelIsaTest, DrawMaskedClipsLikeTheModel) {
  std::mt19937 rng(8);
  const int W = 61, H = 23;
  for (auto [pw, ph] : {std::pair{27, 9}, {5, 4}, {64, 30}}) {
    Bitmap pic = RandomBitmap(rng, pw, ph), mask = RandomBitmap(rng, pw, ph, true);
    Bitmap paired;
    paired.Resize(pw * 2 + 1, ph);  // an odd width: the extra column is ignored
    for (int r = 0; r < ph; ++r) {
      std::copy_n(pic.Row(r), pw * 3, paired.Row(r));
      std::copy_n(mask.Row(r), pw * 3, paired.Row(r) + pw * 3);
    }
    const std::pair<int, int> kPositions[] = {
        {0, 0},       {3, 2},       {-10, 0},     {-10, -7},    {W - 5, H - 3},
        {W - pw, 0},  {W - 1, 0},   {W, 0},       {-pw, 0},     {-pw + 1, 5},
        {0, H},       {0, H + 1},   {0, H - 1},   {0, -ph},     {0, -ph + 1},
        {INT_MIN, 0}, {0, INT_MAX}, {INT_MAX, 1}, {5, INT_MIN}, {-W, -H}};
    for (auto [x, y] : kPositions) {
      SCOPED_TRACE(std::to_string(pw) + "x" + std::to_string(ph) + " at " + std::to_string(x) +
                   "," + std::to_string(y));
      Bitmap dst = RandomBitmap(rng, W, H), expected = dst, viaPaired = dst;
      ModelDraw(expected, pic, mask, x, y);
      DrawMasked(dst, pic, y, x, mask);
      EXPECT_EQ(dst.Pixels, expected.Pixels);
      DrawMaskedPaired(viaPaired, x, paired, y);
      EXPECT_EQ(viaPaired.Pixels, expected.Pixels);
    }
  }
}

// x = -10 on an 800-wide destination with a 100-wide picture: picture columns
// 10..99 land on 0..89, 11 blocks of 8 and a 2-pixel tail done byte by byte.
TEST_P(PixelIsaTest, DrawMaskedLeftClipWithTail) {
  Bitmap dst = Solid(800, 2, 200), pic = Solid(100, 1, 100), mask = Solid(100, 1, 0);
  uint8_t* m = mask.Row(0);
  m[(10 + 40) * 3] = 255;  // destination pixel 40, blue
  DrawMasked(dst, pic, 0, -10, mask);
  const uint8_t* d = dst.Row(0);
  EXPECT_EQ(d[40 * 3], 99);                                          // 100 * 255 >> 8
  for (int i = 40 * 3 + 1; i < 128; ++i) EXPECT_EQ(d[i], 199) << i;  // rest of its group
  for (int i = 128; i < 88 * 3; ++i) ASSERT_EQ(d[i], 200) << i;      // clear groups
  for (int i = 0; i < 120; ++i) ASSERT_EQ(d[i], 200) << i;
  for (int i = 88 * 3; i < 90 * 3; ++i) EXPECT_EQ(d[i], 199) << i;   // the tail
  for (int i = 90 * 3; i < 800 * 3; ++i) ASSERT_EQ(d[i], 200) << i;  // right of the picture
  EXPECT_EQ(dst.Pixels.size(), 2u * 2400);
  for (int i = 0; i < 2400; ++i) ASSERT_EQ(dst.Row(1)[i], 200) << i;  // below the picture
}

TEST_P(PixelIsaTest, DrawMaskedStackedDrawsOnlyWhatFitsWholly) {
  std::mt19937 rng(9);
  static std::vector<std::pair<std::string, int>> reports;
  SetPixelErrorHook([](const char* message, int kind) { reports.emplace_back(message, kind); });
  const int W = 40, H = 20;
  struct Case {
    int Pw, Ph, X, Y;
    bool Fits;
  } cases[] = {
      {16, 6, 0, 0, true},        {16, 6, W - 16, H - 6, true},  // at the corner exactly
      {16, 6, W - 15, 0, false},                                 // one pixel too wide
      {16, 6, 0, H - 5, false},                                  // one row too tall
      {16, 6, -1, 0, false},      {16, 6, 0, -1, false},         // in front of the rows
      {16, 6, INT_MAX, 0, false}, {3, 2, 4, 4, true},            // 9 bytes: one group
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    reports.clear();
    Bitmap stacked = RandomBitmap(rng, c.Pw, c.Ph * 2);
    for (int r = c.Ph; r < c.Ph * 2; ++r) {  // the bottom half is a mask
      Bytes m = RandomMask(rng, stacked.Stride);
      std::copy(m.begin(), m.end(), stacked.Row(r));
    }
    Bitmap dst = RandomBitmap(rng, W, H), expected = dst;
    if (c.Fits) {
      int groups = c.Pw * 3 / 8;
      for (int r = 0; r < c.Ph; ++r) {
        uint8_t* d = expected.Row(c.Y + r) + c.X * 3;
        MaskBlendSpan_Scalar(d, stacked.Row(r), groups, stacked.Row(c.Ph + r), d);
      }
    }
    EXPECT_EQ(DrawMaskedStacked(dst, c.X, stacked, c.Y), c.Fits);
    EXPECT_EQ(dst.Pixels, expected.Pixels);
    if (c.Fits) {
      EXPECT_TRUE(reports.empty());
    } else {
      EXPECT_EQ(reports, (std::vector<std::pair<std::string, int>>{{"ILLEGAL BMP", 3}}));
    }
  }
  SetPixelErrorHook(nullptr);
}

// Bitmaps that disagree in size, or whose fields do not describe their
// buffer, are worked on only where all of them have pixels.
TEST_P(PixelIsaTest, MismatchedAndBrokenBitmapsStayInBounds) {
  Bitmap big = Solid(50, 40, 100), small = Solid(9, 7, 0), mask = Solid(6, 3, 255);
  MixFrames(big, big, 256, small);
  EXPECT_EQ(small.Pixels, Solid(9, 7, 100).Pixels);
  MixFrames(small, small, 0, big);  // only the 9 x 7 corner changes
  EXPECT_EQ(big.Row(6)[9 * 3 - 1], 100);
  EXPECT_EQ(big.Row(7)[0], 100);

  Bitmap dst = Solid(30, 30, 0);
  DrawMasked(dst, big, 0, 0, mask);  // the mask limits the draw to 6 x 3
  EXPECT_EQ(dst.Row(2)[6 * 3 - 1], 99);
  EXPECT_EQ(dst.Row(2)[6 * 3], 0);
  EXPECT_EQ(dst.Row(3)[0], 0);

  Bitmap broken = Solid(20, 20, 50);
  broken.Pixels.resize(10);
  Bitmap before = dst;
  DrawMasked(dst, broken, 0, 0, broken);
  DrawMaskedPaired(dst, 0, broken, 0);
  MixFrames(broken, dst, 128, dst);
  ScaleFrame(dst, broken, 3);
  MixTile(dst, dst, 0, 0, 3, broken);
  EXPECT_EQ(dst.Pixels, before.Pixels);
  EXPECT_EQ(broken.Pixels.size(), 10u);
}

TEST(PixelWeight, ClampedToTheUsableRange) {
  SetMixWeight(-5);
  EXPECT_EQ(MixWeight(), 0);
  SetMixWeight(300);
  EXPECT_EQ(MixWeight(), 256);
  // A weight set by a frame routine is the one the span routines use next.
  Bitmap src = Solid(8, 1, 200), out = Solid(8, 1, 0);
  ScaleFrame(src, out, 64);
  Bytes s(8, 200), add(8, 0), r(8);
  ScaleAddSpan(s.data(), add.data(), 1, r.data());
  EXPECT_EQ(r, Bytes(8, 50));
}

TEST(PixelCrossFade, FadeTypesReachTheEndInTheListedFrames) {
  struct Case {
    int Type, Step, Period, Frames;
  } cases[] = {{1, 24, 40, 11}, {3, 5, 50, 52},  {4, 2, 50, 129},
               {0, 12, 40, 22}, {2, 12, 40, 22}, {7, 12, 40, 22}};
  for (const Case& c : cases) {
    FadeType t = CrossFadeType(c.Type);
    EXPECT_EQ(t.Step, c.Step);
    EXPECT_EQ(t.PeriodMs, c.Period);
    int frames = 0;
    for (int sum = 0; sum < kCrossFadeEnd; sum += t.Step) ++frames;
    EXPECT_EQ(frames, c.Frames) << "type " << c.Type;
  }
}

}  // namespace
}  // namespace zk
