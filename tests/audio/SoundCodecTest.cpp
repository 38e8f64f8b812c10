#include <gtest/gtest.h>

#include <functional>

#include "SoundFixtures.h"
#include "audio/SoundCodec.h"

namespace zk {
namespace {

using test::Entry;
using test::Header;
using test::RampStream;

std::vector<int> Delta(std::vector<uint8_t> in, int scale, int16_t left, int16_t right = 0,
                       int channels = 1) {
  std::vector<int16_t> out(in.size());
  const size_t n = DecodeWadyDelta(in, out, scale, left, right, channels, in.size() / channels);
  out.resize(n * channels);
  return {out.begin(), out.end()};
}

std::vector<int> Ramp(const std::vector<uint8_t>& stream, size_t room = 4096) {
  std::vector<int16_t> out(room);
  const RampResult r = DecodeWadyRamp(stream, out, 1);
  EXPECT_TRUE(r.Complete);
  return {out.begin(), out.begin() + r.Samples};
}

// 300 codes adding 4 each (one-byte code 0x03), after a first sample of 1000.
std::vector<int> RampOfAdds(uint32_t count) {
  return Ramp(RampStream(1000, std::vector<uint8_t>(count, 0x03), count));
}

// Trailing silence kept or cut from a buffer of size bytes whose last zeros
// bytes are zero.
std::vector<int> Trim(size_t size, size_t zeros) {
  std::vector<uint8_t> pcm(size, 0x11);
  std::fill(pcm.end() - zeros, pcm.end(), 0);
  return {static_cast<int>(OggTrimmedLength(pcm, 2))};
}

struct Example {
  const char* what;
  std::function<std::vector<int>()> decode;
  std::vector<int> want;
};

TEST(SoundCodec, DecoderExamples) {
  const Example examples[] = {
      // Delta coding: scale x table entry, or an absolute value for bytes >= 0x80.
      {"delta +10 x scale 2", [] { return Delta({0x05}, 2, 100); }, {120}},
      {"delta -10 x scale 2", [] { return Delta({0x45}, 2, 100); }, {80}},
      {"delta entry 64 is 0", [] { return Delta({0x40}, 2, 100); }, {100}},
      {"delta absolute", [] { return Delta({0xC1}, 2, 100); }, {-32256}},
      {"delta absolutes",
       [] {
         return Delta({0x80, 0xBF, 0xC0, 0xFF}, 1, 7);
       },
       {0, 32256, -32768, -512}},
      {"delta wraps", [] { return Delta({0x3F}, 4, 32000); }, {-29536}},
      {"delta carries the predictor",
       [] {
         return Delta({0x3F, 0x3F, 0x7F}, 1, 0);
       },
       {1000, 2000, 1000}},
      {"delta stereo keeps two predictors",
       [] {
         return Delta({0x01, 0x41, 0x01, 0x41}, 1, 10, -10, 2);
       },
       {12, -12, 14, -14}},
      // Ramp coding: one-byte codes.
      {"ramp 0x81 sets 0", [] { return Ramp(RampStream(500, {0x81}, 1)); }, {500, 0}},
      {"ramp 0xFF sets -1024", [] { return Ramp(RampStream(500, {0xFF}, 1)); }, {500, -1024}},
      {"ramp 0x03 adds 4", [] { return Ramp(RampStream(10, {0x03}, 1)); }, {10, 14}},
      {"ramp 0x7F adds ramp[63]", [] { return Ramp(RampStream(100, {0x7F}, 1)); }, {100, -7900}},
      {"ramp adds wrap", [] { return Ramp(RampStream(30000, {0x3F}, 1)); }, {30000, -27536}},
      // Ramp coding: two-byte runs with float steps, truncated toward zero.
      {"ramp run of 3 to 0x0300",
       [] {
         return Ramp(RampStream(0, {0x00, 0x03}, 1));
       },
       {0, 256, 512, 768}},
      {"ramp run of 3 to 16",
       [] {
         return Ramp(RampStream(0, {0x10, 0x00}, 1));
       },
       {0, 5, 10, 16}},
      {"ramp run of 5 in float",  // -5 + 4.2 truncates to 0; 15.999999 to 15
       [] {
         return Ramp(RampStream(-5, {0x14, 0x00}, 1));
       },
       {-5, 0, 3, 7, 11, 15}},
      {"ramp run target drops the low 4 bits",
       [] {
         return Ramp(RampStream(0, {0xFE, 0xFF}, 1));
       },  // run index 7, 256 samples
       {}},
      {"ramp N = 299 never resets", [] { return RampOfAdds(299); }, {}},
      {"ramp N = 300 resets before code 0", [] { return RampOfAdds(300); }, {}},
      {"ramp N = 301 resets before code 1", [] { return RampOfAdds(301); }, {}},
      // Ogg tail: 30001 bytes or more lose trailing zero groups, down to half.
      {"ogg 20000 bytes kept whole", [] { return Trim(20000, 8000); }, {20000}},
      {"ogg 30000 bytes kept whole", [] { return Trim(30000, 30000); }, {30000}},
      {"ogg 100000 bytes, 10000 zero", [] { return Trim(100000, 10000); }, {90000}},
      {"ogg 30001 bytes all zero", [] { return Trim(30001, 30001); }, {15000}},
      {"ogg 100002 bytes, 3 zero", [] { return Trim(100002, 3); }, {100002}},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(e.what);
    const std::vector<int> got = e.decode();
    if (!e.want.empty()) {
      EXPECT_EQ(got, e.want);
      continue;
    }
    // Cases too long to list: checked by their shape.
    const std::string what = e.what;
    if (what.find("low 4 bits") != std::string::npos) {
      ASSERT_EQ(got.size(), 257u);  // target 0xFFF0 = -16 from 0xFFFE
      EXPECT_EQ(got.back(), -16);
      EXPECT_EQ(got[128], -8);
    } else {
      const uint32_t n = static_cast<uint32_t>(got.size() - 1);
      ASSERT_GE(n, 299u);
      EXPECT_EQ(got[0], 1000);
      const int resetAt = n >= 300 ? static_cast<int>(n) - 300 : -1;
      // Sample k + 1 comes from code k: 4 more than the one before, or 4 after the reset.
      for (uint32_t k = 0; k < n; ++k)
        ASSERT_EQ(got[k + 1], static_cast<int>(k) == resetAt ? 4 : got[k] + 4) << "code " << k;
    }
  }
}

TEST(SoundCodec, StereoEffectInterleavesTheTwoStreams) {
  const std::vector<uint8_t> left = RampStream(100, {0x03, 0x03}, 2);   // 100 104 108
  const std::vector<uint8_t> right = RampStream(-50, {0x00, 0x01}, 1);  // -50, run to 256
  std::vector<uint8_t> data;
  AppendLeI32(data, static_cast<int32_t>(left.size() - 4));
  data.insert(data.end(), left.begin(), left.end());
  data.insert(data.end(), right.begin(), right.end());
  WadyHeader h = Header(2, 22050, 4);
  for (uint32_t pcmSize : {16u, 17u, 18u, 19u}) {  // cut to whole frames
    h.PcmSize = pcmSize;
    const auto s = LoadWadyEffect(Entry(h, data));
    ASSERT_TRUE(s) << pcmSize;
    EXPECT_EQ(s->Format, WaveFormat::Pcm16(2, 22050));
    // The left stream leaves its fourth frame untouched (silence).
    EXPECT_EQ(s->Samples, (std::vector<int16_t>{100, -50, 104, 52, 108, 154, 0, 256}));
  }
}

TEST(SoundCodec, OneShotDecodesTheFramesOfItsHeader) {
  WadyHeader h = Header(2, 11025, 2);
  h.Scale = 3;
  const auto s = LoadWadyOneShot(Entry(h, {0x01, 0x41, 0x02, 0x42, 0x7F, 0x7F}));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Samples, (std::vector<int16_t>{6, -6, 18, -18}));  // the extra frame is not read
}

// ------------------------------------------------------------ round trips

double MaxError(std::span<const int16_t> a, std::span<const int16_t> b) {
  EXPECT_EQ(a.size(), b.size());
  double m = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    m = std::max(m, std::abs(static_cast<double>(a[i]) - b[i]));
  return m;
}

TEST(SoundCodec, EncodersRoundTripThroughTheDecoders) {
  struct Case {
    int channels;
    uint32_t rate;
    size_t frames;
  };
  // Short streams (no reset), streams just over 300 codes, 48 kHz stereo.
  for (const Case c : {Case{1, 22050, 1}, Case{1, 22050, 250}, Case{2, 44100, 301},
                       Case{2, 48000, 5000}, Case{1, 8000, 20000}}) {
    SCOPED_TRACE(testing::Message() << c.channels << " ch, " << c.frames << " frames");
    const std::vector<int16_t> in = test::Signal(c.channels, c.frames, c.rate);
    std::vector<uint8_t> ramp, delta;
    ASSERT_TRUE(EncodeWadyRamp(in, c.channels, c.rate, ramp));
    ASSERT_TRUE(EncodeWadyDelta(in, c.channels, c.rate, 0, delta));
    const auto fromRamp = LoadWadyEffect(ramp);
    const auto fromDelta = LoadWadyOneShot(delta);
    ASSERT_TRUE(fromRamp && fromDelta);
    EXPECT_EQ(fromRamp->Format, WaveFormat::Pcm16(c.channels, c.rate));
    EXPECT_EQ(fromDelta->Format, fromRamp->Format);
    EXPECT_LE(MaxError(fromRamp->Samples, in), 600);
    EXPECT_LE(MaxError(fromDelta->Samples, in), 600);
  }
}

TEST(SoundCodec, MusicStreamLoopsWithTheLoopPredictors) {
  // Shorter than four seconds and above 44.1 kHz: both must stream.
  const uint32_t rate = 48000;
  const size_t frames = 30000, loop = 12345;
  const std::vector<int16_t> in = test::Signal(2, frames, rate);
  std::vector<uint8_t> entry;
  ASSERT_TRUE(EncodeWadyDelta(in, 2, rate, loop, entry));
  const auto whole = LoadWadyOneShot(entry);
  ASSERT_TRUE(whole);

  WadyMusicStream music;
  ASSERT_TRUE(music.Open(entry));
  // Three passes read in uneven pieces: the track, then the looped part twice.
  const size_t total = frames + 2 * (frames - loop);
  std::vector<int16_t> got(total * 2);
  for (size_t at = 0, piece = 1; at < total; at += piece, piece = piece * 3 % 7919 + 1)
    ASSERT_EQ(music.Read(std::span(got).subspan(at * 2), std::min(piece, total - at)),
              std::min(piece, total - at));
  std::vector<int16_t> want = whole->Samples;
  for (int pass = 0; pass < 2; ++pass)
    want.insert(want.end(), whole->Samples.begin() + loop * 2, whole->Samples.end());
  EXPECT_EQ(got, want);
}

// ------------------------------------------------------------ malformed input

TEST(SoundCodec, MalformedEntriesGiveNoSound) {
  const std::vector<int16_t> tone = test::Signal(2, 400, 22050);
  std::vector<uint8_t> ramp, delta;
  ASSERT_TRUE(EncodeWadyRamp(tone, 2, 22050, ramp));
  ASSERT_TRUE(EncodeWadyDelta(tone, 2, 22050, 0, delta));
  auto with = [](std::vector<uint8_t> e, size_t at, std::vector<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), e.begin() + at);
    return e;
  };
  auto le32 = [](uint32_t v) {
    std::vector<uint8_t> b;
    AppendLe32(b, v);
    return b;
  };
  const std::vector<uint8_t> mono = Entry(Header(1, 22050, 4), RampStream(0, {3, 3, 3}, 3));
  struct Bad {
    const char* what;
    std::vector<uint8_t> entry;
    bool effect;  // LoadWadyEffect, else LoadWadyOneShot and WadyMusicStream
  };
  const Bad cases[] = {
      {"empty", {}, true},
      {"not WADY", with(ramp, 0, {'W', 'A', 'V', 'E'}), true},
      {"short header", std::vector<uint8_t>(ramp.begin(), ramp.begin() + 47), true},
      {"3 channels", with(ramp, 34, {3, 0}), true},
      {"block align disagrees", with(ramp, 44, {2, 0}), true},
      {"8 bits", with(ramp, 46, {8, 0}), true},
      {"rate 0", with(ramp, 36, le32(0)), true},
      {"rate 10 MHz", with(ramp, 36, le32(10000000)), true},
      {"PCM block of 4 GiB", with(ramp, 20, le32(0xFFFFFFFE)), true},
      {"stream longer than the PCM block", with(mono, 20, le32(6)), true},
      {"stream cut short", std::vector<uint8_t>(ramp.begin(), ramp.end() - 1), true},
      {"code count past the stream", with(mono, 52, le32(1000)), true},
      {"left stream size negative", with(ramp, 48, le32(0xFFFFFFF0)), true},
      {"left stream size past the entry", with(ramp, 48, le32(100000)), true},
      {"one-shot 3 channels", with(delta, 6, {3, 0}), false},
      {"one-shot channels disagree", with(delta, 34, {1, 0}), false},
      {"one-shot frames past the data", with(delta, 16, le32(401)), false},
      {"one-shot PCM block too small", with(delta, 20, le32(400 * 4 - 2)), false},
      {"one-shot format rate 0", with(delta, 36, le32(0)), false},
  };
  for (const Bad& b : cases) {
    SCOPED_TRACE(b.what);
    if (b.effect) {
      EXPECT_FALSE(LoadWadyEffect(b.entry));
    } else {
      EXPECT_FALSE(LoadWadyOneShot(b.entry));
    }
  }
  // The music stream checks its own fields.
  for (auto [what, e] : {std::pair{"data past the entry", with(delta, 12, le32(801))},
                         std::pair{"odd data for stereo", with(delta, 12, le32(799))},
                         std::pair{"loop past the data", with(delta, 24, le32(800))},
                         std::pair{"loop inside a frame", with(delta, 24, le32(3))},
                         std::pair{"rate 0", with(delta, 8, le32(0))},
                         std::pair{"3 channels", with(delta, 6, {3, 0})}}) {
    WadyMusicStream m;
    EXPECT_FALSE(m.Open(e)) << what;
    std::vector<int16_t> out(8);
    EXPECT_EQ(m.Read(out, 4), 0u) << what;
  }
}

TEST(SoundCodec, EveryTruncationOfAnEntryFailsCleanly) {
  const std::vector<int16_t> tone = test::Signal(2, 350, 22050);
  std::vector<uint8_t> ramp, delta;
  ASSERT_TRUE(EncodeWadyRamp(tone, 2, 22050, ramp));
  ASSERT_TRUE(EncodeWadyDelta(tone, 2, 22050, 0, delta));
  for (size_t n = 0; n < ramp.size(); ++n)
    ASSERT_FALSE(LoadWadyEffect(std::span(ramp).first(n))) << n;
  for (size_t n = 0; n < delta.size(); ++n) {
    ASSERT_FALSE(LoadWadyOneShot(std::span(delta).first(n))) << n;
    WadyMusicStream m;
    ASSERT_FALSE(m.Open(std::span(delta).first(n))) << n;
  }
}

TEST(SoundCodec, DecodersStopAtTheirBuffers) {
  // Delta: the frame count is bounded by both spans.
  std::vector<uint8_t> in(10, 0x01);
  std::vector<int16_t> out(3, 0x5555);
  int16_t l = 0, r = 0;
  EXPECT_EQ(DecodeWadyDelta(in, std::span(out).first(2), 1, l, r, 2, 100), 1u);
  EXPECT_EQ(out[2], 0x5555);
  EXPECT_EQ(DecodeWadyDelta(in, out, 1, l, r, 3, 1), 0u);
  // Ramp: a run that does not fit is not started.
  std::vector<int16_t> small(3, 0x5555);
  const RampResult res =
      DecodeWadyRamp(RampStream(0, {0x00, 0x03}, 1), std::span(small).first(2), 1);
  EXPECT_FALSE(res.Complete);
  EXPECT_EQ(res.Samples, 1u);
  EXPECT_EQ(small[1], 0x5555);
}

}  // namespace
}  // namespace zk
