#include <gtest/gtest.h>

#include <vector>

#include "base/LittleEndian.h"

namespace zk {
namespace {

TEST(LittleEndian, WritersAndReadersAgreeOnByteOrder) {
  std::vector<uint8_t> out;
  AppendLe16(out, 0x1234);
  AppendLe32(out, 0x89ABCDEFu);
  AppendLeI32(out, -2);
  EXPECT_EQ(out,
            (std::vector<uint8_t>{0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(ReadLe16(out, 0), 0x1234);
  EXPECT_EQ(ReadLe32(out, 2), 0x89ABCDEFu);
  EXPECT_EQ(ReadLeI32(out, 6), -2);

  uint8_t buf[6] = {};
  PutLe16(buf, 0xBEEF);
  PutLeI32(buf + 2, -123456789);
  EXPECT_EQ(ReadLe16(buf), 0xBEEF);
  EXPECT_EQ(ReadLeI32(buf + 2), -123456789);
  EXPECT_EQ(ReadLe32(buf + 2), static_cast<uint32_t>(-123456789));
}

}  // namespace
}  // namespace zk
