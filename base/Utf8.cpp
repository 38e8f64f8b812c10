#include "base/Utf8.h"

#include <cstdint>

namespace zk {

size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t b0 = byte(i);
  const size_t len = b0 < 0x80           ? 1
                     : (b0 >> 5) == 0x6  ? 2
                     : (b0 >> 4) == 0xE  ? 3
                     : (b0 >> 3) == 0x1E ? 4
                                         : 0;
  cp = kReplacementChar;
  if (len == 0 || len > text.size() - i) return 0;
  char32_t c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (size_t k = 1; k < len; ++k) {
    const uint8_t b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  cp = c;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x1FFFFF) cp = kReplacementChar;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  const int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
  static constexpr uint8_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[extra] | (cp >> (6 * extra)));
  for (int k = extra - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F));
}

}  // namespace zk
