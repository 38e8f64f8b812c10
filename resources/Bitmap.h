// A 24-bit bitmap: three bytes per pixel in blue, green, red order, rows top
// first, each row padded to a multiple of 4 bytes as the engine's bitmaps are.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace zk {

struct Bitmap {
  int Width = 0;
  int Height = 0;
  int Stride = 0;  // bytes per row
  std::vector<uint8_t> Pixels;

  static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

  // Resizes only where the size differs; new pixels are black.
  void Resize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == Width && height == Height && !Pixels.empty() == (width && height)) return;
    Width = width;
    Height = height;
    Stride = StrideFor(width);
    Pixels.assign(static_cast<size_t>(Stride) * height, 0);
  }
  bool Empty() const { return Width == 0 || Height == 0; }
  uint8_t* Row(int y) { return Pixels.data() + static_cast<size_t>(y) * Stride; }
  const uint8_t* Row(int y) const { return Pixels.data() + static_cast<size_t>(y) * Stride; }
  void Fill(uint8_t b, uint8_t g, uint8_t r) {
    for (int y = 0; y < Height; ++y) {
      uint8_t* p = Row(y);
      for (int x = 0; x < Width; ++x) {
        p[3 * x] = b;
        p[3 * x + 1] = g;
        p[3 * x + 2] = r;
      }
    }
  }
};

}  // namespace zk
