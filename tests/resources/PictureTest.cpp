#include "resources/Picture.h"

#include <gtest/gtest.h>

#include <random>

#include "resources/Archive.h"
#include "resources/TestFiles.h"

namespace zk {
namespace {

using test::Bytes;
using test::TempDir;
using test::WriteArchiveFile;

// A picture entry: header fields and stage-1 data.
std::vector<uint8_t> Entry(uint8_t flags, uint16_t w, uint16_t h, const std::vector<uint8_t>& data,
                           uint32_t stage1Size = 0, uint8_t bpp = 3) {
  std::vector<uint8_t> e(16, 0);
  e[2] = flags;
  e[3] = bpp;
  const uint32_t c = static_cast<uint32_t>(data.size());
  for (int i = 0; i < 4; ++i) e[4 + i] = static_cast<uint8_t>(c >> (8 * i));
  for (int i = 0; i < 4; ++i) e[8 + i] = static_cast<uint8_t>(stage1Size >> (8 * i));
  e[12] = static_cast<uint8_t>(w), e[13] = static_cast<uint8_t>(w >> 8);
  e[14] = static_cast<uint8_t>(h), e[15] = static_cast<uint8_t>(h >> 8);
  e.insert(e.end(), data.begin(), data.end());
  return e;
}

std::vector<uint8_t> Pixels(const Bitmap& b) {
  std::vector<uint8_t> out;
  for (int y = 0; y < b.Height; ++y) out.insert(out.end(), b.Row(y), b.Row(y) + b.Width * 3);
  return out;
}

// ---------------------------------------------------------------- stage 1 tokens

TEST(PictureStages, DictionaryTokensDecodeAsDocumented) {
  struct Case {
    const char* what;
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
  };
  const std::vector<uint8_t> abc = {'a', 'b', 'c'};
  auto repeat = [](std::vector<uint8_t> unit, size_t n) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < n; ++i) out.insert(out.end(), unit.begin(), unit.end());
    return out;
  };
  std::vector<uint8_t> nine;
  for (int i = 0; i < 9; ++i) nine.push_back(static_cast<uint8_t>('0' + i));
  const std::vector<Case> cases = {
      // flags 00000000: three literals.
      {"literals", {0x00, 'a', 'b', 'c'}, abc},
      // flags 10000000, u = 0x03: (0 >> 2) + 9 = 9 literal bytes.
      {"literal run of 9", [&] { std::vector<uint8_t> v = {0x80, 0x03}; v.insert(v.end(), nine.begin(), nine.end()); return v; }(), nine},
      // 3 literals, then u = 0x09: distance (9 >> 2) + 1 = 3, length (9 & 3) + 2 = 3.
      {"short reference", {0x10, 'a', 'b', 'c', 0x09}, repeat(abc, 2)},
      // 1 literal, then u = 0x80, b = 0x0F: distance 1, length 18.
      {"medium reference, distance 1, length 18", {0x40, 0x41, 0x80, 0x0F},
       std::vector<uint8_t>(19, 0x41)},
      // 3 literals, u = 0x80 b = 0x24: distance (0 << 4 | 2) + 1 = 3, length 4 + 3 = 7.
      {"medium reference repeating a pattern", {0x10, 'a', 'b', 'c', 0x80, 0x24},
       {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a'}},
      // 1 literal, u = 0xC0 b = 0 c = 253: distance 1, length 256 (not 259).
      {"length code 253 is 256", {0x40, 'x', 0xC0, 0x00, 253}, std::vector<uint8_t>(257, 'x')},
      {"length code 254 is 1024", {0x40, 'x', 0xC0, 0x00, 254}, std::vector<uint8_t>(1025, 'x')},
      {"length code 255 is 4096", {0x40, 'x', 0xC0, 0x00, 255}, std::vector<uint8_t>(4097, 'x')},
      // length code 252: 255 bytes; distance (1 << 8 | 0) + 1 = 257 over 257 literals...
      {"long reference, code 0 is length 3", {0x40, 'y', 0xC0, 0x00, 0}, std::vector<uint8_t>(4, 'y')},
      // Nine tokens: the second flag byte comes after the eighth token.
      {"second flag byte", {0x00, '1', '2', '3', '4', '5', '6', '7', '8', 0x80, 0x01},
       {'1', '2', '3', '4', '5', '6', '7', '8', '8', '8', '8'}},
  };
  for (const Case& c : cases) {
    bool damaged = true;
    std::vector<uint8_t> out = DecodeDictionary(c.in, c.out.size(), &damaged);
    EXPECT_EQ(out, c.out) << c.what;
    EXPECT_FALSE(damaged) << c.what;
    // One byte more than the data produces: reported, the rest left zero.
    out = DecodeDictionary(c.in, c.out.size() + 1, &damaged);
    EXPECT_TRUE(damaged) << c.what;
    EXPECT_EQ(out.back(), 0) << c.what;
  }
}

TEST(PictureStages, OutputPastTheTargetIsDiscarded) {
  bool damaged = true;
  // A 4096-byte reference when only 10 bytes are wanted.
  std::vector<uint8_t> out = DecodeDictionary(std::vector<uint8_t>{0x40, 'z', 0xC0, 0, 255}, 10, &damaged);
  EXPECT_EQ(out, std::vector<uint8_t>(10, 'z'));
  EXPECT_FALSE(damaged);
}

TEST(PictureStages, CorruptDictionaryDataStopsInsideTheBuffers) {
  struct Case {
    const char* what;
    std::vector<uint8_t> in;
    size_t produced;  // bytes decoded before the fault
  };
  const std::vector<Case> cases = {
      {"empty data", {}, 0},
      {"flag byte only", {0x00}, 0},
      {"reference before the start", {0x80, 0x00}, 0},
      {"long reference reaching back too far", {0x40, 'a', 0xC0, 0x01, 0x00}, 1},
      {"medium reference missing its second byte", {0x40, 'a', 0x80}, 1},
      {"long reference missing bytes", {0x40, 'a', 0xC1, 0x00}, 1},
      {"literal run cut short", {0x80, 0x07, 'a', 'b'}, 2},
  };
  for (const Case& c : cases) {
    bool damaged = false;
    std::vector<uint8_t> out = DecodeDictionary(c.in, 64, &damaged);
    EXPECT_TRUE(damaged) << c.what;
    ASSERT_EQ(out.size(), 64u) << c.what;
    for (size_t i = c.produced; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << c.what << " at " << i;
  }
}

// ---------------------------------------------------------------- stage 2 runs

TEST(PictureStages, RunsDecodeAsDocumented) {
  struct Case {
    const char* what;
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
  };
  const std::vector<Case> cases = {
      {"literal bytes", {0x02, 'a', 'b', 'c'}, {'a', 'b', 'c'}},
      // c = 0x80 (k = 1), d = 4: five copies.
      {"one-byte unit", {0x80, 0x04, 'q'}, std::vector<uint8_t>(5, 'q')},
      // c = 0xC0 (k = 3), d = 1: the three bytes after the control bytes, twice.
      {"three-byte unit", {0xC0, 0x01, 'r', 'g', 'b'}, {'r', 'g', 'b', 'r', 'g', 'b'}},
      // c = 0xE0 (k = 4), d = 0: once.
      {"four-byte unit", {0xE0, 0x00, 1, 2, 3, 4}, {1, 2, 3, 4}},
      // c = 0x81 d = 0xFF: n = (1 << 8 | 255) + 1 = 512.
      {"count above 256", {0x81, 0xFF, 7}, std::vector<uint8_t>(512, 7)},
      // One literal then k = 2, n = 10 into 9 bytes: cut to 4 whole units.
      {"run cut at the end", {0x00, 'x', 0xA0, 0x09, 'a', 'b'},
       {'x', 'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b'}},
  };
  for (const Case& c : cases) {
    bool damaged = true;
    EXPECT_EQ(DecodeRuns(c.in, c.out.size(), &damaged), c.out) << c.what;
    EXPECT_FALSE(damaged) << c.what;
  }
  // A run that does not fit at all leaves the output short and is reported.
  bool damaged = false;
  std::vector<uint8_t> out = DecodeRuns(std::vector<uint8_t>{0x01, 'a', 'b', 0xC0, 0x00, 1, 2, 3}, 4, &damaged);
  EXPECT_EQ(out, (std::vector<uint8_t>{'a', 'b', 0, 0}));
  EXPECT_TRUE(damaged);
  // Truncated unit bytes and truncated literals.
  out = DecodeRuns(std::vector<uint8_t>{0xC0, 0x01, 'r', 'g'}, 6, &damaged);
  EXPECT_TRUE(damaged);
  EXPECT_EQ(out, std::vector<uint8_t>(6, 0));
  out = DecodeRuns(std::vector<uint8_t>{0x05, 'a', 'b'}, 6, &damaged);
  EXPECT_TRUE(damaged);
  EXPECT_EQ(out, (std::vector<uint8_t>{'a', 'b', 0, 0, 0, 0}));
}

// ---------------------------------------------------------------- whole pictures

TEST(PictureDecode, EachFlagCombinationRunsItsStages) {
  // Flags 0x00: 2 x 1 pixels, six literal bytes.
  Bitmap b;
  ASSERT_EQ(DecodePicture(Entry(0x00, 2, 1, {0x00, 1, 2, 3, 4, 5, 6}), b), PictureStatus::Ok);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));

  // Flags 0x40: stage 1 gives M = 5 bytes (a k = 3 run of four), stage 2 12.
  ASSERT_EQ(DecodePicture(Entry(0x40, 2, 2, {0x00, 0xC0, 0x03, 9, 8, 7}, 5), b), PictureStatus::Ok);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{9, 8, 7, 9, 8, 7, 9, 8, 7, 9, 8, 7}));

  // Flags 0x80, one pixel per row: each lane's running sum crosses the rows.
  // Stored lane 0 is 10, 1, 1 and decodes to 10, 11, 12.
  ASSERT_EQ(DecodePicture(Entry(0x80, 1, 3, {0x00, 10, 20, 30, 1, 1, 1, 1, 2, 0x00, 3}), b),
            PictureStatus::Ok);
  ASSERT_EQ(b.Width, 1);
  ASSERT_EQ(b.Height, 3);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{10, 20, 30, 11, 21, 31, 12, 23, 34}));

  // Flags 0xC0: runs of zero deltas after a first pixel give a flat picture.
  // Stage 1: 6 literal bytes = runs "00 05 06 07" (3 literals) + "80 02 00" (3 zeros).
  ASSERT_EQ(DecodePicture(Entry(0xC0, 2, 1, {0x00, 0x02, 5, 6, 7, 0x80, 0x02, 0x00}, 7), b),
            PictureStatus::Ok);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{5, 6, 7, 5, 6, 7}));
}

TEST(PictureDecode, BadHeadersLeaveTheTargetAlone) {
  Bitmap target;
  target.Resize(3, 3);
  target.Fill(1, 2, 3);
  const Bitmap before = target;
  const std::vector<std::vector<uint8_t>> entries = {
      {},
      std::vector<uint8_t>(15, 0),
      Entry(0, 2, 2, {}, 0, 4),        // four bytes per pixel
      Entry(0, 65535, 65535, {0x00}),  // beyond the size limit
  };
  for (const auto& e : entries) {
    EXPECT_EQ(DecodePicture(e, target), PictureStatus::Invalid);
    EXPECT_TRUE(test::SamePixels(target, before));
  }
}

TEST(PictureDecode, TruncatedDataShowsWhatWasDecoded) {
  // Stated C = 7 but only 4 bytes present: 3 pixels bytes decoded.
  std::vector<uint8_t> e = Entry(0x00, 2, 1, {0x00, 1, 2, 3, 4, 5, 6});
  e.resize(16 + 4);
  Bitmap b;
  ASSERT_EQ(DecodePicture(e, b), PictureStatus::Damaged);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{1, 2, 3, 0, 0, 0}));
  // A stage-1 size far beyond what the picture can use is harmless.
  ASSERT_EQ(DecodePicture(Entry(0x40, 1, 1, {0x00, 0x02, 1, 2, 3}, 0xFFFFFFFF), b),
            PictureStatus::Damaged);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{1, 2, 3}));
}

// ---------------------------------------------------------------- encoder

TEST(PictureEncode, RoundTripsInEveryModeAndWidth) {
  const std::vector<Bitmap> pictures = {
      test::PhotoLike(64, 48), test::FlatLike(80, 60), test::PhotoLike(1, 1), test::FlatLike(7, 5),
      test::PhotoLike(13, 3, 9),
      [] {  // random bytes: nothing to match
        Bitmap b;
        b.Resize(33, 17);
        std::mt19937 rng(3);
        for (auto& p : b.Pixels) p = static_cast<uint8_t>(rng());
        return b;
      }(),
      [] {
        Bitmap b;
        b.Resize(0, 0);
        return b;
      }(),
  };
  for (const Bitmap& pic : pictures) {
    for (uint8_t flags : {0x00, 0x40, 0x80, 0xC0}) {
      std::vector<uint8_t> entry;
      ASSERT_TRUE(EncodePicture(pic, flags, entry));
      Bitmap back;
      ASSERT_EQ(DecodePicture(entry, back), PictureStatus::Ok)
          << pic.Width << "x" << pic.Height << " flags " << int(flags);
      EXPECT_TRUE(test::SamePixels(pic, back))
          << pic.Width << "x" << pic.Height << " flags " << int(flags);
    }
  }
}

TEST(PictureEncode, MatcherUsesEveryTokenKind) {
  std::mt19937 rng(5);
  std::vector<uint8_t> data(3000);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  auto noise = [&](int n) {
    for (int i = 0; i < n; ++i) data.push_back(static_cast<uint8_t>(rng()));
  };
  // Random bytes between the repeats (single literals and literal runs), a
  // four-byte repeat close by (short), ten bytes from 500 back (medium), a
  // long stretch of one value (long, with the 4096, 1024 and 256 codes).
  for (int i = 0; i < 4; ++i) data.push_back(data[data.size() - 20]);
  noise(4);
  data.insert(data.end(), data.end() - 500, data.end() - 490);
  noise(4);
  data.insert(data.end(), 4096 + 1024 + 256 + 100, 0x55);
  std::vector<uint8_t> enc = EncodeDictionary(data);
  TokenStats stats;
  bool damaged = true;
  EXPECT_EQ(DecodeDictionary(enc, data.size(), &damaged, &stats), data);
  EXPECT_FALSE(damaged);
  EXPECT_GT(stats.Literal, 0u);
  EXPECT_GT(stats.LiteralRun, 0u);
  EXPECT_GT(stats.Short, 0u);
  EXPECT_GT(stats.Medium, 0u);
  EXPECT_GT(stats.Long, 0u);
  EXPECT_LT(enc.size(), data.size() - 5000);
}

TEST(PictureEncode, CompressesFlatPictures) {
  const Bitmap flat = test::FlatLike(200, 150);
  for (uint8_t flags : {0x00, 0x40, 0x80, 0xC0}) {
    std::vector<uint8_t> entry;
    ASSERT_TRUE(EncodePicture(flat, flags, entry));
    EXPECT_LT(entry.size(), 200u * 150 * 3 / 20) << int(flags);
  }
}

// ---------------------------------------------------------------- bad input

TEST(PictureDecode, TruncatedAndRandomEntriesNeverLeaveTheirBuffers) {
  const Bitmap pic = test::FlatLike(24, 10);
  for (uint8_t flags : {0x00, 0x40, 0x80, 0xC0}) {
    std::vector<uint8_t> entry;
    ASSERT_TRUE(EncodePicture(pic, flags, entry));
    for (size_t n = 0; n < entry.size(); ++n) {
      Bitmap b;
      std::span<const uint8_t> cut(entry.data(), n);
      const PictureStatus st = DecodePicture(cut, b);
      EXPECT_EQ(st, n < 16 ? PictureStatus::Invalid : PictureStatus::Damaged) << n;
    }
  }
  std::mt19937 rng(11);
  for (int round = 0; round < 4000; ++round) {
    std::vector<uint8_t> data(rng() % 200);
    for (auto& b : data) b = static_cast<uint8_t>(rng());
    const uint16_t w = static_cast<uint16_t>(rng() % 40), h = static_cast<uint16_t>(rng() % 40);
    const uint32_t c = round % 3 ? static_cast<uint32_t>(data.size()) : static_cast<uint32_t>(rng());
    std::vector<uint8_t> e = Entry(static_cast<uint8_t>(rng() & 0xC0), w, h, data, rng() % 9000);
    for (int i = 0; i < 4; ++i) e[4 + i] = static_cast<uint8_t>(c >> (8 * i));
    Bitmap b;
    if (DecodePicture(e, b) != PictureStatus::Invalid) {
      EXPECT_EQ(b.Width, w);
      EXPECT_EQ(b.Height, h);
    }
  }
}

// ---------------------------------------------------------------- JPEG

TEST(Jpeg, DecodesToBlueGreenRedAndRejectsBadData) {
  Bitmap pic;
  pic.Resize(16, 8);
  pic.Fill(200, 100, 30);  // blue 200, green 100, red 30
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(pic, 95, jpeg));
  EXPECT_TRUE(IsJpeg(jpeg));
  Bitmap back;
  ASSERT_TRUE(DecodeJpeg(jpeg, back));
  ASSERT_EQ(back.Width, 16);
  ASSERT_EQ(back.Height, 8);
  EXPECT_NEAR(back.Row(4)[24], 200, 4);
  EXPECT_NEAR(back.Row(4)[25], 100, 4);
  EXPECT_NEAR(back.Row(4)[26], 30, 4);

  Bitmap target;
  target.Resize(2, 2);
  target.Fill(9, 9, 9);
  std::string error;
  const std::vector<std::vector<uint8_t>> bad = {
      {}, Bytes("not a jpeg"), std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20)};
  for (const auto& b : bad) {
    EXPECT_FALSE(DecodeJpeg(b, target, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(target.Width, 2);
    EXPECT_EQ(target.Row(1)[3], 9);
  }
  // Data cut in the middle of the scan is filled in, not fatal.
  std::vector<uint8_t> photo;
  ASSERT_TRUE(EncodeJpeg(test::PhotoLike(64, 48), 90, photo));
  std::vector<uint8_t> half(photo.begin(), photo.begin() + photo.size() * 3 / 4);
  EXPECT_TRUE(DecodeJpeg(half, back, &error)) << error;
  EXPECT_EQ(back.Width, 64);
  std::mt19937 rng(2);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> noisy = jpeg;
    for (int k = 0; k < 4; ++k) noisy[rng() % noisy.size()] = static_cast<uint8_t>(rng());
    DecodeJpeg(noisy, back);  // must not crash
  }
}

// ---------------------------------------------------------------- loading by name

class PictureLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteArchiveFile(dir_ / "zk_data.zlk", IndexLayout::Fixed, {});
    red_.Resize(4, 2);
    red_.Fill(0, 0, 255);
    green_.Resize(3, 3);
    green_.Fill(0, 255, 0);
    blue_.Resize(2, 5);
    blue_.Fill(255, 0, 0);
  }
  std::vector<uint8_t> Encoded(const Bitmap& b) {
    std::vector<uint8_t> e;
    EncodePicture(b, 0xC0, e);
    return e;
  }
  TempDir dir_;
  Bitmap red_, green_, blue_;
};

TEST_F(PictureLoading, JpegArchiveFirstThenVolumesFromTheLast) {
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(blue_, 95, jpeg));
  WriteArchiveFile(dir_ / "zk_gjp.zlk", IndexLayout::General, {{"both", jpeg}});
  WriteArchiveFile(dir_ / "zk_gra.zlk", IndexLayout::General,
                   {{"both", Encoded(red_)}, {"first", Encoded(red_)}, {"twice", Encoded(red_)}});
  WriteArchiveFile(dir_ / "zk_gra3.zlk", IndexLayout::General, {{"twice", Encoded(green_)}});
  Archives arc;
  ASSERT_TRUE(arc.Open(dir_.Path(), "NULL"));

  Bitmap b;
  ASSERT_TRUE(LoadPicture(arc, "BOTH", b));  // the JPEG
  EXPECT_EQ(b.Width, 2);
  EXPECT_EQ(b.Height, 5);
  ASSERT_TRUE(LoadPicture(arc, "Twice", b));  // the third volume
  EXPECT_TRUE(test::SamePixels(b, green_));
  ASSERT_TRUE(LoadPicture(arc, "first", b));
  EXPECT_TRUE(test::SamePixels(b, red_));
  for (const char* name : {"both", "TWICE", "first"}) EXPECT_TRUE(PictureExists(arc, name));

  EXPECT_FALSE(PictureExists(arc, "none"));
  EXPECT_FALSE(LoadPicture(arc, "none", b));
  EXPECT_TRUE(test::SamePixels(b, red_));  // unchanged
}

TEST_F(PictureLoading, UnusableEntriesFailOrShowWhatDecodes) {
  std::vector<uint8_t> cut = Encoded(red_);
  cut.resize(cut.size() - 3);
  WriteArchiveFile(dir_ / "zk_gjp.zlk", IndexLayout::General, {{"badjpeg", Bytes("\xFF\xD8\xFF junk")}});
  WriteArchiveFile(dir_ / "zk_gra.zlk", IndexLayout::General,
                   {{"short", Bytes("abc")}, {"cut", cut}, {"badjpeg", Encoded(red_)}});
  Archives arc;
  ASSERT_TRUE(arc.Open(dir_.Path(), "NULL"));
  Bitmap b = green_;
  EXPECT_FALSE(LoadPicture(arc, "badjpeg", b));  // the JPEG archive decides
  EXPECT_TRUE(test::SamePixels(b, green_));
  EXPECT_FALSE(LoadPicture(arc, "short", b));
  EXPECT_TRUE(LoadPicture(arc, "cut", b));
  EXPECT_EQ(b.Width, red_.Width);
}

}  // namespace
}  // namespace zk
