// PNG reading and writing of 24-bit bitmaps (tools, screenshots, test fixtures).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Bitmap.h"

namespace zk {

// Encodes width x height pixels (BGR rows of the given stride) as an RGB PNG.
bool EncodePng(const uint8_t* bgr, int width, int height, int stride, std::vector<uint8_t>& out);
bool EncodePng(const Bitmap& bmp, std::vector<uint8_t>& out);
// Decodes any PNG to a 24-bit bitmap (alpha is dropped). False with a message on bad data.
bool DecodePng(const uint8_t* data, size_t size, Bitmap& out, std::string* error = nullptr);

}  // namespace zk
