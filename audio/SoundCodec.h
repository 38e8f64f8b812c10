// The sound entries of the game's archives: pure decoding and encoding over
// byte spans, no file or device access.
//
// [SECTION] Decoded sound
// [SECTION] WADY entries
// [SECTION] WADY music streams
// [SECTION] Ogg Vorbis
//
// A "WADY" entry is a 48-byte header and compressed 16-bit PCM in one of two
// codings: a delta coding (music, animation sounds; one byte per sample) and
// a ramp coding (sound effects; one channel stream per channel of one-byte
// steps and two-byte linear runs). Header, little-endian:
//    0  4  "WADY"                   20  4  decoded PCM size in bytes
//    4  1  format (not interpreted) 24  4  loop start, byte offset into the data
//    5  1  scale of the delta table 28  2  left predictor at the loop start
//    6  2  channels (1 or 2)        30  2  right predictor at the loop start
//    8  4  sample rate              32 16  PCM format: tag 1, channels, rate,
//   12  4  compressed data size            bytes per second, block align, 16 bits
//   16  4  frames (per channel)     48     compressed data
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace zk {

// ============================================================ [SECTION] Decoded sound

// The PCM part of a wave format description, as stored at offset 32.
struct WaveFormat {
  uint16_t FormatTag = 1;  // 1: PCM
  uint16_t Channels = 0;
  uint32_t SamplesPerSec = 0;
  uint32_t AvgBytesPerSec = 0;
  uint16_t BlockAlign = 0;
  uint16_t BitsPerSample = 16;

  static WaveFormat Pcm16(uint16_t channels, uint32_t rate);
  bool operator==(const WaveFormat&) const = default;

  // The 16-byte little-endian layout both WADY headers and WAV format
  // chunks store.
  static constexpr size_t kStoredSize = 16;
  static WaveFormat Read(const uint8_t* stored);
  void Append(std::vector<uint8_t>& out) const;
};

// Signed 16-bit PCM, channels interleaved.
struct DecodedSound {
  WaveFormat Format;
  std::vector<int16_t> Samples;

  size_t Bytes() const { return Samples.size() * 2; }
  size_t Frames() const { return Format.Channels ? Samples.size() / Format.Channels : 0; }
};

// Sounds whose PCM would pass this size are refused (about 25 minutes of
// 44.1 kHz stereo).
constexpr uint64_t kMaxSoundBytes = 256u << 20;
// Sample rates outside this range are taken for corrupt data.
constexpr uint32_t kMinSoundRate = 1000;
constexpr uint32_t kMaxSoundRate = 384000;

// ============================================================ [SECTION] WADY entries

constexpr size_t kWadyHeaderSize = 48;

struct WadyHeader {
  uint8_t FormatByte = 0;
  uint8_t Scale = 0;
  uint16_t Channels = 0;
  uint32_t Rate = 0;
  uint32_t DataSize = 0;
  uint32_t FrameCount = 0;
  uint32_t PcmSize = 0;
  uint32_t LoopStart = 0;
  int16_t LoopLeft = 0;
  int16_t LoopRight = 0;
  WaveFormat Format;
};

// False when the entry is shorter than the header or does not start "WADY".
bool ParseWadyHeader(std::span<const uint8_t> entry, WadyHeader& out);
void WriteWadyHeader(const WadyHeader& h, std::vector<uint8_t>& out);  // appends 48 bytes

// The two tables of the codings.
extern const int16_t kWadyDeltaTable[128];
extern const int16_t kWadyRampTable[64];
extern const uint16_t kWadyRunLengths[8];

// Decodes frames frames of delta-coded bytes (frames x channels bytes,
// channels interleaved) into out. The predictors carry over between calls so
// that a track decodes in consecutive pieces; mono uses the left one only.
// Stops early where in or out end. Returns the frames decoded (0 for a
// channel count other than 1 or 2).
size_t DecodeWadyDelta(std::span<const uint8_t> in, std::span<int16_t> out, int scale,
                       int16_t& left, int16_t& right, int channels, size_t frames);

struct RampResult {
  size_t Samples = 0;     // samples written
  bool Complete = false;  // all N codes decoded within the stream and the output
};

// Decodes one ramp-coded channel stream (8-byte head, first sample, codes)
// into out, writing a sample every stride samples. Stops where the stream or
// the output ends.
RampResult DecodeWadyRamp(std::span<const uint8_t> stream, std::span<int16_t> out, size_t stride);

// A ramp-coded sound effect, its PCM block (offset 20) cut to whole frames.
// Nothing for an entry that is not "WADY" or is malformed: channels other
// than 1 or 2, an unusable format, a right stream outside the entry, a code
// stream that ends early or overflows the PCM block.
std::optional<DecodedSound> LoadWadyEffect(std::span<const uint8_t> entry);
// A delta-coded sound decoded in one piece (animation sounds): frames of
// offset 16 from the data at offset 48 into a PCM block of offset 20. Nothing
// when the data or the block is too small for the frames.
std::optional<DecodedSound> LoadWadyOneShot(std::span<const uint8_t> entry);

// Encoders. samples are interleaved; channels 1 or 2. The delta encoder picks
// the scale with the least error and records the loop start (a frame index)
// with the predictors there. False for unusable input.
bool EncodeWadyDelta(std::span<const int16_t> samples, int channels, uint32_t rate,
                     uint32_t loopFrame, std::vector<uint8_t>& out);
bool EncodeWadyRamp(std::span<const int16_t> samples, int channels, uint32_t rate,
                    std::vector<uint8_t>& out);

// ============================================================ [SECTION] WADY music streams

// A delta-coded track played as a loop: from the start to the end of its
// data, then again and again from the loop start with the loop predictors.
// Reads the compressed data from a span the caller keeps alive.
class WadyMusicStream {
 public:
  // False (stream unusable) for a header that does not fit the entry:
  // channels other than 1 or 2, an absurd rate, data or loop start outside
  // the entry, data that is not a whole number of frames.
  bool Open(std::span<const uint8_t> entry);
  const WadyHeader& Header() const { return header_; }
  WaveFormat Format() const { return WaveFormat::Pcm16(header_.Channels, header_.Rate); }
  // Decodes the next frames frames into out (frames x channels samples),
  // looping at the end of the data. Returns frames written: all of them
  // unless the stream is not open or out is too small.
  size_t Read(std::span<int16_t> out, size_t frames);
  // Back to the start of the track with both predictors 0.
  void Rewind();
  // Frame position within the data.
  size_t Position() const { return pos_ / (header_.Channels ? header_.Channels : 1); }

 private:
  std::span<const uint8_t> data_;
  WadyHeader header_;
  size_t pos_ = 0;
  size_t loop_ = 0;
  int16_t left_ = 0, right_ = 0;
};

// ============================================================ [SECTION] Ogg Vorbis

// An Ogg Vorbis stream decoded from memory through libvorbisfile, in pieces.
class OggReader {
 public:
  OggReader();
  ~OggReader();
  OggReader(const OggReader&) = delete;
  OggReader& operator=(const OggReader&) = delete;

  // Takes the bytes of a complete stream. False when libvorbisfile refuses
  // it or reports no usable format.
  bool Open(std::vector<uint8_t> bytes);
  bool IsOpen() const;
  WaveFormat Format() const;
  // Frames of the whole stream, as its last page claims.
  uint64_t TotalFrames() const;
  // Decodes up to frames frames into out. Returns the frames written; 0 at the
  // end of the stream, at damaged data, or where the channel layout changes.
  size_t Read(std::span<int16_t> out, size_t frames);
  bool Seek(uint64_t frame);
  void Close();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Buffers of fewer than this many bytes keep their trailing silence.
constexpr size_t kOggTrimFrom = 30001;

// Cuts trailing all-zero 4-byte groups from a decoded buffer of size bytes,
// never below half of it, and only when it holds kOggTrimFrom bytes or more.
// Returns the bytes kept, a whole number of frames of blockAlign bytes.
size_t OggTrimmedLength(std::span<const uint8_t> pcm, size_t blockAlign);

// Decodes a whole Ogg Vorbis entry; nothing when it cannot be opened or is
// larger than kMaxSoundBytes decoded.
std::optional<DecodedSound> DecodeOggMemory(std::span<const uint8_t> entry);

}  // namespace zk
