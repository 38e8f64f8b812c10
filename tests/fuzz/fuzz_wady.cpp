// "WADY" entries in both codings, the music stream and the raw decoders from
// arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/SoundCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  if (auto s = zk::LoadWadyEffect(bytes); s && s->Samples.size() % s->Format.Channels) std::abort();
  zk::LoadWadyOneShot(bytes);
  zk::WadyMusicStream music;
  if (music.Open(bytes)) {
    std::vector<int16_t> out(2 * 3001);
    for (size_t frames : {1u, 3001u, 777u})
      if (music.Read(out, frames) != frames) std::abort();
  }
  // The raw decoders with an output smaller than the input asks for.
  std::vector<int16_t> out(size / 3 + 1);
  zk::DecodeWadyRamp(bytes, out, 2);
  int16_t l = 0, r = 0;
  zk::DecodeWadyDelta(bytes, out, size ? data[0] : 1, l, r, 2, size);
  return 0;
}
