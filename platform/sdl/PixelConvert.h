// Conversion of the engine's 3-byte blue-green-red frame into the 4-byte
// pixels of a streaming texture (blue, green, red, 0xFF in memory order, the
// layout of 32-bit xRGB / ARGB on a little-endian machine), and a fast frame
// fingerprint used to skip presenting an unchanged frame.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// One row (or any run) of pixels. The variants produce identical bytes.
void ConvertBgrToXrgbScalar(const uint8_t* src, uint8_t* dst, size_t pixels);
void ConvertBgrToXrgbSsse3(const uint8_t* src, uint8_t* dst, size_t pixels);
bool CpuHasSsse3();

// The variant chosen once for this CPU.
using ConvertRowFn = void (*)(const uint8_t* src, uint8_t* dst, size_t pixels);
ConvertRowFn BestConvertBgrToXrgb();

// A whole picture: height rows of width pixels, with the given strides in bytes.
void ConvertFrame(const uint8_t* src, size_t srcStride, uint8_t* dst, size_t dstPitch, int width,
                  int height);

// A 64-bit fingerprint of a byte block (not cryptographic).
uint64_t HashBytes(const uint8_t* data, size_t size);

}  // namespace platform
