#include <gtest/gtest.h>

#include "base/Crc32.h"

namespace zk {
namespace {

TEST(Crc32, ReflectedTableWithCallerStart) {
  EXPECT_EQ(Crc32("abc", 3, 1234), 0x2004BC8Au);
  // With the usual inversions it is the standard CRC-32 check value.
  EXPECT_EQ(~Crc32("123456789", 9, 0xFFFFFFFFu), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0, 77), 77u);
}

}  // namespace
}  // namespace zk
