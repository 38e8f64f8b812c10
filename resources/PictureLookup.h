// Loading a picture by name from the game's archives.
#pragma once
#include <string_view>

#include "base/Bitmap.h"

namespace zk {

class Archives;

// Loads a picture by name: the JPEG archive first, then the picture volumes
// from the last to the first. False (target unchanged) when no archive holds
// the name or its data cannot be used at all.
bool LoadPicture(const Archives& archives, std::string_view name, Bitmap& target);
// The same search without reading data.
bool PictureExists(const Archives& archives, std::string_view name);

}  // namespace zk
