// Encoding "WADY" entries in both codings. The encoders run the decoders'
// own arithmetic so that what they choose is what a player will hear.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "audio/SoundCodec.h"
#include "base/LittleEndian.h"

namespace zk {

namespace {

bool UsableInput(std::span<const int16_t> samples, int channels, uint32_t rate) {
  if (channels != 1 && channels != 2) return false;
  if (rate < kMinSoundRate || rate > kMaxSoundRate) return false;
  if (samples.size() % static_cast<size_t>(channels) != 0) return false;
  return samples.size() * 2 <= kMaxSoundBytes;
}

WadyHeader BaseHeader(int channels, uint32_t rate, size_t frames) {
  WadyHeader h;
  h.Channels = static_cast<uint16_t>(channels);
  h.Rate = rate;
  h.FrameCount = static_cast<uint32_t>(frames);
  h.PcmSize = static_cast<uint32_t>(frames * channels * 2);
  h.Format = WaveFormat::Pcm16(static_cast<uint16_t>(channels), rate);
  return h;
}

// ------------------------------------------------------------ delta coding

// The byte whose decoding from pred comes closest to want.
uint8_t BestDeltaByte(int pred, int want, int scale) {
  // An absolute byte: multiples of 512 from -32768 to 32256.
  int q = static_cast<int>(std::lround(want / 512.0));
  q = std::clamp(q, -64, 63);
  uint8_t best = static_cast<uint8_t>(0x80 | (q & 0x7F));
  int bestErr = std::abs(q * 512 - want);
  for (int b = 0; b < 128; ++b) {
    const int v = pred + scale * kWadyDeltaTable[b];
    if (v < -32768 || v > 32767) continue;  // would wrap
    const int err = std::abs(v - want);
    if (err < bestErr) {
      bestErr = err;
      best = static_cast<uint8_t>(b);
    }
  }
  return best;
}

inline int16_t DeltaStep(int16_t pred, uint8_t b, int scale) {
  if (b >= 0x80) return static_cast<int16_t>(static_cast<uint16_t>(b * 512));
  return static_cast<int16_t>(static_cast<uint16_t>(pred + scale * kWadyDeltaTable[b]));
}

// Encodes with one scale; returns the summed squared error.
double EncodeDeltaWith(std::span<const int16_t> samples, int channels, int scale,
                       std::vector<uint8_t>* out) {
  int16_t pred[2] = {0, 0};
  double error = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    int16_t& p = pred[i % channels];
    const uint8_t b = BestDeltaByte(p, samples[i], scale);
    p = DeltaStep(p, b, scale);
    const double d = p - samples[i];
    error += d * d;
    if (out) out->push_back(b);
  }
  return error;
}

// ------------------------------------------------------------ ramp coding

// Decoder state of one channel stream while encoding it.
struct RampCoder {
  int16_t prev = 0;
  std::vector<uint8_t> codes;
  uint32_t count = 0;

  // The one-byte code closest to want.
  void OneByte(int want) {
    int q = static_cast<int>(std::lround(want / 1024.0));
    q = std::clamp(q, -32, 31);
    int bestV = 0x40 | (q & 0x3F);
    int bestErr = std::abs(q * 1024 - want);
    for (int v = 0; v < 64; ++v) {
      const int x = prev + kWadyRampTable[v];
      if (x < -32768 || x > 32767) continue;
      const int err = std::abs(x - want);
      if (err < bestErr) {
        bestErr = err;
        bestV = v;
      }
    }
    if (bestV & 0x40)
      prev = static_cast<int16_t>(static_cast<uint16_t>(bestV * 1024));
    else
      prev = static_cast<int16_t>(prev + kWadyRampTable[bestV]);
    codes.push_back(static_cast<uint8_t>(bestV << 1 | 1));
    ++count;
  }

  // Tries a linear run over want (its length one of the run lengths); takes
  // it when no sample strays more than tolerance from the input.
  bool Run(std::span<const int16_t> want, int tolerance) {
    for (int r = 7; r >= 0; --r) {
      const size_t n = kWadyRunLengths[r];
      if (n > want.size()) continue;
      const int16_t target = static_cast<int16_t>(want[n - 1] & 0xFFF0);
      const float step = static_cast<float>(static_cast<double>(target - prev) / n);
      float x = prev;
      bool fits = std::abs(target - want[n - 1]) <= tolerance;
      for (size_t k = 0; k < n && fits; ++k) {
        x = x + step;
        fits = std::abs(static_cast<int32_t>(x) - want[k]) <= tolerance;
      }
      if (!fits) continue;
      const uint16_t w = static_cast<uint16_t>(target) | static_cast<uint16_t>(r << 1);
      codes.push_back(static_cast<uint8_t>(w));
      codes.push_back(static_cast<uint8_t>(w >> 8));
      prev = target;
      ++count;
      return true;
    }
    return false;
  }
};

// One channel stream: head, first sample, codes. The decoder restarts from 0
// 300 codes before the end, so the last 300 samples are one-byte codes
// coded from 0 on.
std::vector<uint8_t> EncodeRampStream(const std::vector<int16_t>& x) {
  RampCoder c;
  c.prev = x.empty() ? 0 : x[0];
  const int16_t first = c.prev;
  const size_t total = x.size();
  const size_t tailFrom = total > 300 ? total - 300 : 1;  // first sample coded singly at the end
  size_t i = 1;
  while (i < tailFrom) {
    const std::span<const int16_t> rest(x.data() + i, tailFrom - i);
    if (rest.size() >= 3 && c.Run(rest, 24)) {
      // the run length chosen is the code's run index
      i += kWadyRunLengths[(c.codes[c.codes.size() - 2] >> 1) & 7];
      continue;
    }
    c.OneByte(x[i]);
    ++i;
  }
  if (total > 300) c.prev = 0;
  for (; i < total; ++i) c.OneByte(x[i]);
  std::vector<uint8_t> s;
  AppendLe32(s, static_cast<uint32_t>(6 + c.codes.size()));  // bytes after this field
  AppendLe32(s, c.count);
  AppendLe16(s, static_cast<uint16_t>(first));
  s.insert(s.end(), c.codes.begin(), c.codes.end());
  return s;
}

}  // namespace

bool EncodeWadyDelta(std::span<const int16_t> samples, int channels, uint32_t rate,
                     uint32_t loopFrame, std::vector<uint8_t>& out) {
  out.clear();
  if (!UsableInput(samples, channels, rate)) return false;
  const size_t frames = samples.size() / channels;
  if (frames == 0 || loopFrame >= frames) return false;
  int bestScale = 1;
  double bestError = std::numeric_limits<double>::infinity();
  for (int scale : {1, 2, 4, 8, 16, 32}) {
    const double e = EncodeDeltaWith(samples, channels, scale, nullptr);
    if (e < bestError) bestError = e, bestScale = scale;
  }
  std::vector<uint8_t> data;
  data.reserve(samples.size());
  EncodeDeltaWith(samples, channels, bestScale, &data);
  WadyHeader h = BaseHeader(channels, rate, frames);
  h.Scale = static_cast<uint8_t>(bestScale);
  h.DataSize = static_cast<uint32_t>(data.size());
  h.LoopStart = loopFrame * static_cast<uint32_t>(channels);
  // The predictors after the frames before the loop start.
  int16_t left = 0, right = 0;
  std::vector<int16_t> scratch(static_cast<size_t>(loopFrame) * channels);
  DecodeWadyDelta(data, scratch, bestScale, left, right, channels, loopFrame);
  h.LoopLeft = left;
  h.LoopRight = channels == 2 ? right : 0;
  WriteWadyHeader(h, out);
  out.insert(out.end(), data.begin(), data.end());
  return true;
}

bool EncodeWadyRamp(std::span<const int16_t> samples, int channels, uint32_t rate,
                    std::vector<uint8_t>& out) {
  out.clear();
  if (!UsableInput(samples, channels, rate)) return false;
  const size_t frames = samples.size() / channels;
  if (frames == 0) return false;
  std::vector<std::vector<uint8_t>> streams;
  for (int c = 0; c < channels; ++c) {
    std::vector<int16_t> x(frames);
    for (size_t i = 0; i < frames; ++i) x[i] = samples[i * channels + c];
    streams.push_back(EncodeRampStream(x));
  }
  WadyHeader h = BaseHeader(channels, rate, frames);
  std::vector<uint8_t> data;
  if (channels == 2) {
    // The left stream is followed by the right one 4 + L bytes later.
    AppendLeI32(data, static_cast<int32_t>(streams[0].size() - 4));
  }
  for (const auto& s : streams) data.insert(data.end(), s.begin(), s.end());
  h.DataSize = static_cast<uint32_t>(data.size());
  WriteWadyHeader(h, out);
  out.insert(out.end(), data.begin(), data.end());
  return true;
}

}  // namespace zk
