#include "base/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zk {
namespace {

// Pixel memory is not cleared element by element but comes fresh and
// zero-filled: a resize must still give black pixels, whatever the buffer
// held before, and keep the picture when the size stays.
TEST(Bitmap, ResizeGivesBlackPixelsAndKeepsThePictureAtTheSameSize) {
  Bitmap b;
  b.Resize(5, 3);
  b.Fill(0xAB, 0xAB, 0xAB);
  b.Resize(5, 3);
  EXPECT_EQ(b.Row(2)[14], 0xAB);
  struct Size {
    int w, h;
  };
  for (const Size s : {Size{7, 2}, Size{2, 7}, Size{5, 3}, Size{300, 300}, Size{1, 1}}) {
    b.Fill(0xAB, 0xAB, 0xAB);
    b.Resize(s.w, s.h);
    EXPECT_EQ(b.Stride, Bitmap::StrideFor(s.w));
    ASSERT_EQ(b.Pixels.size(), static_cast<size_t>(b.Stride) * s.h);
    EXPECT_TRUE(std::all_of(b.Pixels.begin(), b.Pixels.end(), [](uint8_t v) { return v == 0; }))
        << s.w << " x " << s.h;
  }
  b.Resize(0, 4);
  EXPECT_TRUE(b.Empty());
}

}  // namespace
}  // namespace zk
