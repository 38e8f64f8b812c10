// Compressed picture entries (and the stages on their own) from arbitrary bytes.
#include <cstdint>
#include <cstdlib>

#include "resources/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  zk::PictureHeader h;
  // Keep pictures small so that the fuzzer spends its time on the data.
  if (zk::ParsePictureHeader(bytes, h) && static_cast<uint64_t>(h.Width) * h.Height > (1u << 16))
    return 0;
  zk::Bitmap bmp;
  const zk::PictureStatus st = zk::DecodePicture(bytes, bmp);
  if (st != zk::PictureStatus::Invalid && (bmp.Width != h.Width || bmp.Height != h.Height))
    std::abort();
  if (size >= 2) {
    const size_t outSize = (static_cast<size_t>(data[0]) << 8 | data[1]) * 3;
    bool damaged;
    zk::DecodeDictionary(bytes.subspan(2), outSize, &damaged);
    zk::DecodeRuns(bytes.subspan(2), outSize, &damaged);
  }
  if (zk::IsJpeg(bytes)) zk::DecodeJpeg(bytes, bmp);
  return 0;
}
