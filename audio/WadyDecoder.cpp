// Decoding "WADY" entries: header, delta coding, ramp coding, music streams.
#include <algorithm>
#include <cstring>

#include "audio/SoundCodec.h"
#include "base/LittleEndian.h"

namespace zk {

const int16_t kWadyDeltaTable[128] = {
    0, 2, 4, 6, 8, 10, 12, 15, 18, 21, 24, 28, 32, 36, 40, 44, 49, 54, 59, 64, 70, 76, 82, 88, 95,
    102, 109, 116, 124, 132, 140, 148, 160, 170, 180, 190, 200, 210, 220, 230, 240, 255, 270, 285,
    300, 320, 340, 360, 380, 400, 425, 450, 475, 500, 525, 550, 580, 610, 650, 700, 750, 800, 900,
    1000,
    // 64 + i is the negative of i
    0, -2, -4, -6, -8, -10, -12, -15, -18, -21, -24, -28, -32, -36, -40, -44, -49, -54, -59, -64,
    -70, -76, -82, -88, -95, -102, -109, -116, -124, -132, -140, -148, -160, -170, -180, -190, -200,
    -210, -220, -230, -240, -255, -270, -285, -300, -320, -340, -360, -380, -400, -425, -450, -475,
    -500, -525, -550, -580, -610, -650, -700, -750, -800, -900, -1000};

const int16_t kWadyRampTable[64] = {
    0, 4, 8, 12, 19, 24, 30, 38, 47, 59, 74, 92, 115, 144, 180, 225, 281, 352, 440, 550, 687, 859,
    1073, 1342, 1678, 2097, 2621, 3277, 4096, 5120, 6400, 8000,
    // 32 + i is the negative of i
    0, -4, -8, -12, -19, -24, -30, -38, -47, -59, -74, -92, -115, -144, -180, -225, -281, -352,
    -440, -550, -687, -859, -1073, -1342, -1678, -2097, -2621, -3277, -4096, -5120, -6400, -8000};

const uint16_t kWadyRunLengths[8] = {3, 4, 5, 6, 8, 16, 32, 256};

WaveFormat WaveFormat::Pcm16(uint16_t channels, uint32_t rate) {
  WaveFormat f;
  f.Channels = channels;
  f.SamplesPerSec = rate;
  f.BlockAlign = static_cast<uint16_t>(channels * 2);
  f.AvgBytesPerSec = rate * channels * 2;
  return f;
}

WaveFormat WaveFormat::Read(const uint8_t* p) {
  WaveFormat f;
  f.FormatTag = ReadLe16(p);
  f.Channels = ReadLe16(p + 2);
  f.SamplesPerSec = ReadLe32(p + 4);
  f.AvgBytesPerSec = ReadLe32(p + 8);
  f.BlockAlign = ReadLe16(p + 12);
  f.BitsPerSample = ReadLe16(p + 14);
  return f;
}

void WaveFormat::Append(std::vector<uint8_t>& out) const {
  AppendLe16(out, FormatTag);
  AppendLe16(out, Channels);
  AppendLe32(out, SamplesPerSec);
  AppendLe32(out, AvgBytesPerSec);
  AppendLe16(out, BlockAlign);
  AppendLe16(out, BitsPerSample);
}

bool ParseWadyHeader(std::span<const uint8_t> entry, WadyHeader& out) {
  if (entry.size() < kWadyHeaderSize || std::memcmp(entry.data(), "WADY", 4) != 0) return false;
  const uint8_t* p = entry.data();
  out.FormatByte = p[4];
  out.Scale = p[5];
  out.Channels = ReadLe16(p + 6);
  out.Rate = ReadLe32(p + 8);
  out.DataSize = ReadLe32(p + 12);
  out.FrameCount = ReadLe32(p + 16);
  out.PcmSize = ReadLe32(p + 20);
  out.LoopStart = ReadLe32(p + 24);
  out.LoopLeft = static_cast<int16_t>(ReadLe16(p + 28));
  out.LoopRight = static_cast<int16_t>(ReadLe16(p + 30));
  out.Format = WaveFormat::Read(p + 32);
  return true;
}

void WriteWadyHeader(const WadyHeader& h, std::vector<uint8_t>& out) {
  out.insert(out.end(), {'W', 'A', 'D', 'Y', h.FormatByte, h.Scale});
  AppendLe16(out, h.Channels);
  AppendLe32(out, h.Rate);
  AppendLe32(out, h.DataSize);
  AppendLe32(out, h.FrameCount);
  AppendLe32(out, h.PcmSize);
  AppendLe32(out, h.LoopStart);
  AppendLe16(out, static_cast<uint16_t>(h.LoopLeft));
  AppendLe16(out, static_cast<uint16_t>(h.LoopRight));
  h.Format.Append(out);
}

namespace {

// One delta-coded byte applied to a predictor; arithmetic wraps at 16 bits.
inline int16_t DeltaStep(int16_t pred, uint8_t b, int scale) {
  if (b >= 0x80) return static_cast<int16_t>(static_cast<uint16_t>(b * 512));
  return static_cast<int16_t>(static_cast<uint16_t>(pred + scale * kWadyDeltaTable[b]));
}

// A 16-bit PCM format the codings can produce.
bool UsableFormat(const WaveFormat& f) {
  return f.FormatTag == 1 && f.BitsPerSample == 16 && (f.Channels == 1 || f.Channels == 2) &&
         f.BlockAlign == f.Channels * 2 && f.SamplesPerSec >= kMinSoundRate &&
         f.SamplesPerSec <= kMaxSoundRate;
}

}  // namespace

size_t DecodeWadyDelta(std::span<const uint8_t> in, std::span<int16_t> out, int scale,
                       int16_t& left, int16_t& right, int channels, size_t frames) {
  if (channels != 1 && channels != 2) return 0;
  const size_t ch = static_cast<size_t>(channels);
  frames = std::min({frames, in.size() / ch, out.size() / ch});
  const uint8_t* src = in.data();
  int16_t* dst = out.data();
  if (channels == 1) {
    int16_t l = left;
    for (size_t i = 0; i < frames; ++i) dst[i] = l = DeltaStep(l, src[i], scale);
    left = l;
  } else {
    int16_t l = left, r = right;
    for (size_t i = 0; i < frames; ++i) {
      dst[2 * i] = l = DeltaStep(l, src[2 * i], scale);
      dst[2 * i + 1] = r = DeltaStep(r, src[2 * i + 1], scale);
    }
    left = l;
    right = r;
  }
  return frames;
}

RampResult DecodeWadyRamp(std::span<const uint8_t> stream, std::span<int16_t> out, size_t stride) {
  RampResult r;
  if (stride == 0 || stream.size() < 10 || out.empty()) return r;
  const uint32_t n = ReadLe32(stream.data() + 4);
  int16_t prev = static_cast<int16_t>(ReadLe16(stream.data() + 8));
  const size_t capacity = (out.size() + stride - 1) / stride;  // samples that fit
  int16_t* dst = out.data();
  size_t written = 0;
  auto emit = [&](int16_t v) {
    dst[written * stride] = v;
    ++written;
  };
  emit(prev);
  const uint8_t* p = stream.data() + 10;
  const uint8_t* end = stream.data() + stream.size();
  // Streams of 300 codes or more restart from silence 300 codes before their end.
  const uint64_t resetAt = n >= 300 ? n - 300 : UINT64_MAX;
  for (uint64_t i = 0; i < n; ++i) {
    if (i == resetAt) prev = 0;
    if (p >= end) {
      r.Samples = written;
      return r;
    }
    const uint8_t c = p[0];
    if (c & 1) {
      if (written >= capacity) {
        r.Samples = written;
        return r;
      }
      const int v = (c >> 1) & 0x7F;
      if (v & 0x40)
        prev = static_cast<int16_t>(static_cast<uint16_t>(v * 1024));
      else
        prev = static_cast<int16_t>(static_cast<uint16_t>(prev + kWadyRampTable[v]));
      emit(prev);
      p += 1;
    } else {
      if (end - p < 2) {
        r.Samples = written;
        return r;
      }
      const uint16_t w = static_cast<uint16_t>(c | p[1] << 8);
      const size_t run = kWadyRunLengths[(c >> 1) & 7];
      if (capacity - written < run) {
        r.Samples = written;
        return r;
      }
      const int16_t target = static_cast<int16_t>(w & 0xFFF0);
      const float step = static_cast<float>(static_cast<double>(target - prev) / run);
      float x = prev;
      for (size_t k = 0; k < run; ++k) {
        x = x + step;
        emit(static_cast<int16_t>(static_cast<int32_t>(x)));
      }
      prev = target;
      p += 2;
    }
  }
  r.Samples = written;
  r.Complete = true;
  return r;
}

std::optional<DecodedSound> LoadWadyEffect(std::span<const uint8_t> entry) {
  WadyHeader h;
  if (!ParseWadyHeader(entry, h) || !UsableFormat(h.Format)) return std::nullopt;
  // The block is cut to whole frames (whole samples for mono, as stored).
  const size_t pcmBytes = h.PcmSize - h.PcmSize % h.Format.BlockAlign;
  if (pcmBytes > kMaxSoundBytes) return std::nullopt;
  // A stream of B bytes yields at most 1 + 128 B samples (256-sample runs in
  // two bytes): a larger block disagrees with the entry.
  if (pcmBytes / 2 > h.Format.Channels * (1 + 128 * static_cast<uint64_t>(entry.size())))
    return std::nullopt;
  DecodedSound s;
  s.Format = h.Format;
  s.Samples.assign(pcmBytes / 2, 0);
  if (h.Format.Channels == 1) {
    if (!DecodeWadyRamp(entry.subspan(kWadyHeaderSize), s.Samples, 1).Complete) return std::nullopt;
    return s;
  }
  if (entry.size() < kWadyHeaderSize + 4) return std::nullopt;
  const int32_t leftSize = ReadLeI32(entry.data() + kWadyHeaderSize);
  if (leftSize < 0 || static_cast<uint64_t>(leftSize) + 56 > entry.size()) return std::nullopt;
  const size_t rightAt = 56 + static_cast<size_t>(leftSize);
  std::span<int16_t> samples(s.Samples);
  if (!DecodeWadyRamp(entry.subspan(52, rightAt - 52), samples, 2).Complete || samples.size() < 2 ||
      !DecodeWadyRamp(entry.subspan(rightAt), samples.subspan(1), 2).Complete)
    return std::nullopt;
  return s;
}

std::optional<DecodedSound> LoadWadyOneShot(std::span<const uint8_t> entry) {
  WadyHeader h;
  if (!ParseWadyHeader(entry, h) || !UsableFormat(h.Format) || h.Channels != h.Format.Channels)
    return std::nullopt;
  const uint64_t needed =
      static_cast<uint64_t>(h.FrameCount) * h.Channels;  // bytes in, samples out
  if (needed > entry.size() - kWadyHeaderSize || h.PcmSize / 2 < needed ||
      h.PcmSize > kMaxSoundBytes)
    return std::nullopt;
  DecodedSound s;
  s.Format = h.Format;
  s.Samples.assign((h.PcmSize - h.PcmSize % h.Format.BlockAlign) / 2, 0);  // whole frames
  int16_t left = 0, right = 0;
  DecodeWadyDelta(entry.subspan(kWadyHeaderSize), s.Samples, h.Scale, left, right, h.Channels,
                  h.FrameCount);
  return s;
}

// ============================================================ Music streams

bool WadyMusicStream::Open(std::span<const uint8_t> entry) {
  data_ = {};
  pos_ = loop_ = 0;
  left_ = right_ = 0;
  WadyHeader h;
  if (!ParseWadyHeader(entry, h)) return false;
  if ((h.Channels != 1 && h.Channels != 2) || h.Rate < kMinSoundRate || h.Rate > kMaxSoundRate ||
      h.DataSize == 0 || h.DataSize % h.Channels != 0 ||
      h.DataSize > entry.size() - kWadyHeaderSize || h.LoopStart >= h.DataSize ||
      h.LoopStart % h.Channels != 0)
    return false;
  header_ = h;
  data_ = entry.subspan(kWadyHeaderSize, h.DataSize);
  loop_ = h.LoopStart;
  return true;
}

void WadyMusicStream::Rewind() {
  pos_ = 0;
  left_ = right_ = 0;
}

size_t WadyMusicStream::Read(std::span<int16_t> out, size_t frames) {
  if (data_.empty()) return 0;
  const size_t ch = header_.Channels;
  frames = std::min(frames, out.size() / ch);
  size_t done = 0;
  while (done < frames) {
    if (pos_ >= data_.size()) {
      pos_ = loop_;
      left_ = header_.LoopLeft;
      right_ = header_.LoopRight;
    }
    const size_t n = std::min(frames - done, (data_.size() - pos_) / ch);
    DecodeWadyDelta(data_.subspan(pos_), out.subspan(done * ch), header_.Scale, left_, right_,
                    static_cast<int>(ch), n);
    pos_ += n * ch;
    done += n;
  }
  return done;
}

}  // namespace zk
