// JPEG decoding and encoding through libjpeg(-turbo), into and from the
// engine's 24-bit blue-green-red bitmaps.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

#include "resources/PictureCodec.h"

namespace zk {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (such as a premature end of data) are not fatal: the decoder fills
// the missing part and goes on.
void OnMessage(j_common_ptr, int) {}

// The decoding itself, kept apart from the function that calls setjmp so no
// local variable lives across the jump.
const char* DecodeBody(jpeg_decompress_struct& cinfo, std::span<const uint8_t> bytes, Bitmap& bmp) {
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGR;
  const uint64_t size = static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height * 3;
  if (size > kMaxPictureBytes) return "picture too large";
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 3) return "unsupported colour layout";
  bmp.Resize(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = bmp.Row(static_cast<int>(cinfo.output_scanline));
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return "truncated data";
  }
  jpeg_finish_decompress(&cinfo);
  return nullptr;
}

}  // namespace

bool IsJpeg(std::span<const uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool DecodeJpeg(std::span<const uint8_t> bytes, Bitmap& out, std::string* error) {
  if (bytes.empty()) {
    if (error) *error = "empty data";
    return false;
  }
  auto cinfo = std::make_unique<jpeg_decompress_struct>();
  auto err = std::make_unique<ErrorManager>();
  auto bmp = std::make_unique<Bitmap>();
  cinfo->err = jpeg_std_error(&err->pub);
  err->pub.error_exit = OnError;
  err->pub.emit_message = OnMessage;
  if (setjmp(err->jump)) {
    jpeg_destroy_decompress(cinfo.get());
    if (error) *error = err->message;
    return false;
  }
  jpeg_create_decompress(cinfo.get());
  const char* problem = DecodeBody(*cinfo, bytes, *bmp);
  jpeg_destroy_decompress(cinfo.get());
  if (problem) {
    if (error) *error = problem;
    return false;
  }
  out = std::move(*bmp);
  return true;
}

bool EncodeJpeg(const Bitmap& bmp, int quality, std::vector<uint8_t>& out) {
  out.clear();
  if (bmp.Empty()) return false;
  auto cinfo = std::make_unique<jpeg_compress_struct>();
  auto err = std::make_unique<ErrorManager>();
  auto buffer = std::make_unique<unsigned char*>(nullptr);
  auto size = std::make_unique<unsigned long>(0);
  cinfo->err = jpeg_std_error(&err->pub);
  err->pub.error_exit = OnError;
  err->pub.emit_message = OnMessage;
  if (setjmp(err->jump)) {
    jpeg_destroy_compress(cinfo.get());
    std::free(*buffer);
    return false;
  }
  jpeg_create_compress(cinfo.get());
  jpeg_mem_dest(cinfo.get(), buffer.get(), size.get());
  cinfo->image_width = static_cast<JDIMENSION>(bmp.Width);
  cinfo->image_height = static_cast<JDIMENSION>(bmp.Height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo.get());
  jpeg_set_quality(cinfo.get(), quality, TRUE);
  jpeg_start_compress(cinfo.get(), TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row = const_cast<uint8_t*>(bmp.Row(static_cast<int>(cinfo->next_scanline)));
    jpeg_write_scanlines(cinfo.get(), &row, 1);
  }
  jpeg_finish_compress(cinfo.get());
  out.assign(*buffer, *buffer + *size);
  jpeg_destroy_compress(cinfo.get());
  std::free(*buffer);
  return true;
}

}  // namespace zk
