#include "resources/Png.h"

#include <png.h>

#include <cstring>

namespace zk {

bool EncodePng(const uint8_t* bgr, int width, int height, int stride, std::vector<uint8_t>& out) {
  out.clear();
  if (width <= 0 || height <= 0) return false;
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(width);
  img.height = static_cast<png_uint_32>(height);
  img.format = PNG_FORMAT_BGR;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&img, nullptr, &size, 0, bgr, stride, nullptr)) return false;
  out.resize(size);
  if (!png_image_write_to_memory(&img, out.data(), &size, 0, bgr, stride, nullptr)) {
    out.clear();
    return false;
  }
  out.resize(size);
  return true;
}

bool EncodePng(const Bitmap& bmp, std::vector<uint8_t>& out) {
  return EncodePng(bmp.Pixels.data(), bmp.Width, bmp.Height, bmp.Stride, out);
}

bool DecodePng(const uint8_t* data, size_t size, Bitmap& out, std::string* error) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, data, size)) {
    if (error) *error = img.message;
    return false;
  }
  if (img.width > 16384 || img.height > 16384) {
    png_image_free(&img);
    if (error) *error = "picture too large";
    return false;
  }
  img.format = PNG_FORMAT_BGR;
  Bitmap bmp;
  bmp.Resize(static_cast<int>(img.width), static_cast<int>(img.height));
  png_color black{0, 0, 0};
  if (!png_image_finish_read(&img, &black, bmp.Pixels.data(), bmp.Stride, nullptr)) {
    if (error) *error = img.message;
    png_image_free(&img);
    return false;
  }
  out = std::move(bmp);
  return true;
}

}  // namespace zk
