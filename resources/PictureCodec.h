// The engine's compressed picture format and JPEG: pure decoding and encoding
// over byte spans.
//
// [SECTION] Compressed pictures
// [SECTION] Stages (exposed for tests and tools)
// [SECTION] JPEG
//
// A compressed picture is a 16-byte header and the stage-1 data:
//   0  2  not interpreted         8  4  stage-1 output size M (with kPicRunLength)
//   2  1  flags                  12  2  width W
//   3  1  bytes per pixel (3)    14  2  height H
//   4  4  stage-1 data size C    16  C  stage-1 data
// Decoding runs up to three stages: dictionary tokens (always), run lengths
// (flag 0x40) and a per-channel delta (flag 0x80), giving W x H blue-green-red
// pixels, top row first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Bitmap.h"

namespace zk {

// ============================================================ [SECTION] Compressed pictures

constexpr uint8_t kPicRunLength = 0x40;
constexpr uint8_t kPicDelta = 0x80;
constexpr size_t kPictureHeaderSize = 16;
// Pictures whose pixels would take more bytes than this are refused.
constexpr uint64_t kMaxPictureBytes = 256u << 20;

struct PictureHeader {
  uint8_t Flags = 0;
  uint8_t BytesPerPixel = 3;
  uint32_t DataSize = 0;    // C
  uint32_t Stage1Size = 0;  // M
  uint16_t Width = 0;
  uint16_t Height = 0;
};

bool ParsePictureHeader(std::span<const uint8_t> bytes, PictureHeader& out);

enum class PictureStatus {
  Ok,       // decoded completely
  Damaged,  // data ran out or pointed outside the output: the bitmap holds what was decoded
  Invalid,  // unusable header: the bitmap is unchanged
};

// Decodes a compressed picture entry (header and data; a short entry decodes
// as far as its data reaches). Never reads or writes outside its buffers.
PictureStatus DecodePicture(std::span<const uint8_t> entry, Bitmap& out);

// Encodes a bitmap with the given flags (kPicRunLength, kPicDelta). False when
// the bitmap is larger than 65535 pixels in either direction.
bool EncodePicture(const Bitmap& bmp, uint8_t flags, std::vector<uint8_t>& out);

// ============================================================ [SECTION] Stages

// Counts of the token kinds met by DecodeDictionary.
struct TokenStats {
  size_t Literal = 0;     // flag bit 0: one byte
  size_t LiteralRun = 0;  // 9 to 40 literal bytes
  size_t Short = 0;       // distance 1-32, length 2-4
  size_t Medium = 0;      // distance 1-1024, length 3-18
  size_t Long = 0;        // distance 1-16384, length 3-255, 256, 1024 or 4096
};

// Stage 1: decodes tokens until outSize bytes exist. The result always has
// outSize bytes; what the data did not reach stays 0 and sets damaged.
std::vector<uint8_t> DecodeDictionary(std::span<const uint8_t> in, size_t outSize, bool* damaged,
                                      TokenStats* stats = nullptr);
// Stage 2: expands run-length data to outSize bytes, as above.
std::vector<uint8_t> DecodeRuns(std::span<const uint8_t> in, size_t outSize, bool* damaged);
// Stage 3: undoes the per-channel delta in place (three byte lanes, each a
// running sum that carries across rows).
void DecodeDelta(uint8_t* data, size_t size);

std::vector<uint8_t> EncodeDictionary(std::span<const uint8_t> in);
std::vector<uint8_t> EncodeRuns(std::span<const uint8_t> in);
void EncodeDelta(uint8_t* data, size_t size);

// ============================================================ [SECTION] JPEG

bool IsJpeg(std::span<const uint8_t> bytes);
// Decodes a baseline or progressive JPEG (colour or grey) into a 24-bit
// bitmap. On failure out is unchanged and error says why.
bool DecodeJpeg(std::span<const uint8_t> bytes, Bitmap& out, std::string* error = nullptr);
bool EncodeJpeg(const Bitmap& bmp, int quality, std::vector<uint8_t>& out);

}  // namespace zk
