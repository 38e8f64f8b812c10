// Ogg Vorbis entries from arbitrary bytes, whole and streamed.
#include <cstdint>
#include <vector>

#include "audio/SoundCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  zk::DecodeOggMemory(bytes);
  zk::OggReader reader;
  if (reader.Open(std::vector<uint8_t>(bytes.begin(), bytes.end()))) {
    std::vector<int16_t> out(4096);
    reader.Read(out, out.size() / reader.Format().Channels);
    reader.Seek(reader.TotalFrames() / 2);
    reader.Read(out, 1);
  }
  return 0;
}
