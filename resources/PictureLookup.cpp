// Finding a picture by name in the game's archives and loading it.
#include "resources/PictureLookup.h"

#include "resources/Archive.h"
#include "resources/PictureCodec.h"

namespace zk {

bool LoadPicture(const Archives& archives, std::string_view name, Bitmap& target) {
  std::vector<uint8_t> bytes;
  if (auto ref = archives.Jpegs().Find(name)) {
    if (!archives.Jpegs().Read(*ref, bytes)) return false;
    return DecodeJpeg(bytes, target);
  }
  const ArchiveFamily& pictures = archives.Pictures();
  auto ref = pictures.FindFromLast(name);
  if (!ref) return false;
  if (!pictures.ReadAt(*ref, 0, kPictureHeaderSize, bytes)) return false;
  PictureHeader h;
  if (!ParsePictureHeader(bytes, h)) return false;
  std::vector<uint8_t> data;
  if (h.DataSize > 0 && !pictures.ReadAt(*ref, kPictureHeaderSize, h.DataSize, data)) data.clear();
  bytes.insert(bytes.end(), data.begin(), data.end());
  return DecodePicture(bytes, target) != PictureStatus::Invalid;
}

bool PictureExists(const Archives& archives, std::string_view name) {
  return archives.Jpegs().Find(name).has_value() || archives.Pictures().Find(name).has_value();
}

}  // namespace zk
