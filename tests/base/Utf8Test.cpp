#include <gtest/gtest.h>

#include <string>

#include "base/Utf8.h"

namespace zk {
namespace {

TEST(Utf8, DecodesOneSequenceAndReportsItsLength) {
  struct Case {
    const char* what;
    std::string text;
    size_t at;
    size_t len;  // 0: not a sequence
    char32_t cp;
  };
  const Case cases[] = {
      {"ASCII", "A", 0, 1, U'A'},
      {"two bytes", "\xC3\xA9", 0, 2, 0xE9},
      {"three bytes", "\xE3\x81\x82", 0, 3, 0x3042},
      {"four bytes", "\xF0\x9F\x98\x80", 0, 4, 0x1F600},
      {"inside a text", "a\xC3\xA9z", 1, 2, 0xE9},
      {"zero byte", std::string(1, '\0'), 0, 1, 0},
      // Only the shape is checked: an overlong form decodes to its value.
      {"overlong zero", "\xC0\x80", 0, 2, 0},
      {"text ends inside", "\xE3\x81", 0, 0, kReplacementChar},
      {"continuation byte first", "\x80", 0, 0, kReplacementChar},
      {"continuation missing",
       "\xC3"
       "A",
       0, 0, kReplacementChar},
      {"continuation missing later",
       "\xF0\x9F"
       "A\x80",
       0, 0, kReplacementChar},
      {"lead F8 starts nothing", "\xF8\x88\x80\x80", 0, 0, kReplacementChar},
      {"lead FF starts nothing", "\xFF", 0, 0, kReplacementChar},
  };
  for (const Case& c : cases) {
    char32_t cp = 0x1234;
    EXPECT_EQ(DecodeUtf8(c.text, c.at, cp), c.len) << c.what;
    EXPECT_EQ(cp, c.cp) << c.what;
  }
}

TEST(Utf8, EncodesWhatItDecodes) {
  for (char32_t cp :
       {0x00u, 0x41u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0x3042u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
    std::string text = "x";
    AppendUtf8(text, cp);
    char32_t back = 0;
    EXPECT_EQ(DecodeUtf8(text, 1, back), text.size() - 1) << static_cast<uint32_t>(cp);
    EXPECT_EQ(back, cp);
  }
  std::string text;
  AppendUtf8(text, 0x3042);
  EXPECT_EQ(text, "\xE3\x81\x82");
  text.clear();
  AppendUtf8(text, 0x200000);  // beyond what four bytes hold
  EXPECT_EQ(text, "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zk
