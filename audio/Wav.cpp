// RIFF WAVE files of 16-bit PCM.
#include "audio/Wav.h"

#include <cstring>

#include "base/LittleEndian.h"

namespace zk {

namespace {

bool Fail(std::string* error, const char* text) {
  if (error) *error = text;
  return false;
}

}  // namespace

bool ReadWav(std::span<const uint8_t> bytes, DecodedSound& out, std::string* error) {
  out = DecodedSound{};
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return Fail(error, "not a RIFF WAVE file");
  bool haveFormat = false;
  size_t at = 12;
  while (bytes.size() - at >= 8) {
    const uint8_t* chunk = bytes.data() + at;
    const uint32_t size = ReadLe32(chunk + 4);
    const size_t body = at + 8;
    if (size > bytes.size() - body) return Fail(error, "a chunk runs past the end of the file");
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < WaveFormat::kStoredSize) return Fail(error, "format chunk is too short");
      out.Format = WaveFormat::Read(bytes.data() + body);
      if (out.Format.FormatTag != 1 || out.Format.BitsPerSample != 16)
        return Fail(error, "only 16-bit PCM is supported");
      if (out.Format.Channels == 0 || out.Format.BlockAlign != out.Format.Channels * 2)
        return Fail(error, "channel count and block size disagree");
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return Fail(error, "data before the format chunk");
      const size_t frames = size / out.Format.BlockAlign;
      out.Samples.resize(frames * out.Format.Channels);
      for (size_t i = 0; i < out.Samples.size(); ++i)
        out.Samples[i] = static_cast<int16_t>(ReadLe16(bytes.data() + body + 2 * i));
      return true;
    }
    at = body + size + (size & 1);  // chunks are padded to even sizes
    if (at > bytes.size()) break;
  }
  return Fail(error, haveFormat ? "no data chunk" : "no format chunk");
}

void WriteWav(const DecodedSound& sound, std::vector<uint8_t>& out) {
  const uint32_t dataSize = static_cast<uint32_t>(sound.Samples.size() * 2);
  out.clear();
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  AppendLe32(out, 36 + dataSize);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  AppendLe32(out, WaveFormat::kStoredSize);
  sound.Format.Append(out);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  AppendLe32(out, dataSize);
  for (int16_t s : sound.Samples) AppendLe16(out, static_cast<uint16_t>(s));
}

}  // namespace zk
