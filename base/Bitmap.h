// A 24-bit bitmap: three bytes per pixel in blue, green, red order, rows top
// first, each row padded to a multiple of 4 bytes as the engine's bitmaps are.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace zk {

// Pixel memory comes zero-filled from calloc and elements are not set again
// when a buffer is created or grown, so the pages of a large surface that are
// never drawn on are never touched and take no memory. (Growing within the
// capacity a buffer already has leaves the old bytes: write what you grow.)
template <class T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
  T* allocate(size_t n) {
    if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, size_t) noexcept { std::free(p); }
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

using PixelBuffer = std::vector<uint8_t, ZeroedAllocator<uint8_t>>;

struct Bitmap {
  int Width = 0;
  int Height = 0;
  int Stride = 0;  // bytes per row
  PixelBuffer Pixels;

  static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

  // Resizes only where the size differs; new pixels are black.
  void Resize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == Width && height == Height && !Pixels.empty() == (width && height)) return;
    Width = width;
    Height = height;
    Stride = StrideFor(width);
    // A new buffer rather than zeros written over the old one.
    PixelBuffer(static_cast<size_t>(Stride) * height).swap(Pixels);
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
