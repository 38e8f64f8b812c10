#include <gtest/gtest.h>

#include "SoundFixtures.h"
#include "audio/SoundCodec.h"

namespace zk {
namespace {

// A tone followed by digital silence.
std::vector<int16_t> ToneThenSilence(int channels, size_t toneFrames, size_t silentFrames) {
  std::vector<int16_t> s = test::Signal(channels, toneFrames, 22050, 8000);
  s.resize((toneFrames + silentFrames) * channels, 0);
  return s;
}

bool EndsInZeroGroup(const DecodedSound& s) {
  const size_t n = s.Samples.size();
  return n >= 2 && s.Samples[n - 1] == 0 && s.Samples[n - 2] == 0;
}

TEST(OggDecoder, DecodesAndTrimsLongSoundsOnly) {
  // 0.25 s of mono: 11026 bytes, kept whole with its silence.
  const auto shortOne = DecodeOggMemory(test::EncodeOgg(ToneThenSilence(1, 2756, 2757), 1, 22050));
  ASSERT_TRUE(shortOne);
  EXPECT_EQ(shortOne->Format, WaveFormat::Pcm16(1, 22050));
  EXPECT_EQ(shortOne->Frames(), 5513u);
  EXPECT_TRUE(EndsInZeroGroup(*shortOne));

  // 1 s of stereo, the second half silent: 88200 bytes, the silence cut.
  const auto longOne = DecodeOggMemory(test::EncodeOgg(ToneThenSilence(2, 11025, 11025), 2, 22050));
  ASSERT_TRUE(longOne);
  EXPECT_EQ(longOne->Format, WaveFormat::Pcm16(2, 22050));
  EXPECT_LT(longOne->Frames(), 22050u * 3 / 4);
  EXPECT_GE(longOne->Frames(), 11025u);
  EXPECT_FALSE(EndsInZeroGroup(*longOne));

  // All silence: cut to half, no further.
  const auto silent = DecodeOggMemory(test::EncodeOgg(ToneThenSilence(1, 0, 40000), 1, 22050));
  ASSERT_TRUE(silent);
  EXPECT_EQ(silent->Bytes(), 40000u);
}

TEST(OggDecoder, ReaderStreamsInPiecesAndSeeks) {
  const std::vector<uint8_t> ogg = test::EncodeOgg(test::Signal(2, 30000, 44100), 2, 44100);
  OggReader whole;
  ASSERT_TRUE(whole.Open(ogg));
  ASSERT_EQ(whole.TotalFrames(), 30000u);
  std::vector<int16_t> all(60000);
  ASSERT_EQ(whole.Read(all, 30000), 30000u);
  std::vector<int16_t> more(2);
  EXPECT_EQ(whole.Read(more, 1), 0u);  // at the end

  OggReader pieces;
  ASSERT_TRUE(pieces.Open(ogg));
  std::vector<int16_t> got;
  std::vector<int16_t> buf(2 * 777);
  while (size_t n = pieces.Read(buf, 777)) got.insert(got.end(), buf.begin(), buf.begin() + 2 * n);
  EXPECT_EQ(got, all);

  ASSERT_TRUE(pieces.Seek(12000));
  ASSERT_EQ(pieces.Read(buf, 100), 100u);
  EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + 200, all.begin() + 24000));
}

TEST(OggDecoder, DamagedStreamsFailOrStopCleanly) {
  const std::vector<uint8_t> ogg = test::EncodeOgg(test::Signal(1, 20000, 22050), 1, 22050);
  EXPECT_FALSE(DecodeOggMemory({}));
  EXPECT_FALSE(DecodeOggMemory(std::vector<uint8_t>(5000, 0x4F)));
  EXPECT_FALSE(DecodeOggMemory(std::span(ogg).first(40)));  // inside the headers
  // Cut or scrambled audio pages decode what they can, within the claimed length.
  for (size_t cut : {ogg.size() / 2, ogg.size() - 1}) {
    const auto s = DecodeOggMemory(std::span(ogg).first(cut));
    if (s) {
      EXPECT_LE(s->Frames(), 20000u);
    }
  }
  std::vector<uint8_t> scrambled = ogg;
  for (size_t i = scrambled.size() / 3; i < scrambled.size(); i += 7) scrambled[i] ^= 0x5A;
  const auto s = DecodeOggMemory(scrambled);
  if (s) {
    EXPECT_LE(s->Frames(), 20000u);
  }
  OggReader closed;
  std::vector<int16_t> out(4);
  EXPECT_EQ(closed.Read(out, 2), 0u);
  EXPECT_FALSE(closed.Seek(0));
}

}  // namespace
}  // namespace zk
