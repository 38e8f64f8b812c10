// Conversion between the engine's Shift-JIS (code page 932) bytes and UTF-8,
// used only at the edges: the tools, the harness, glyphs and the UI.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zk {

// True for a byte that starts a double-byte Shift-JIS character.
inline bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Upper-cases the ASCII letters of Shift-JIS text, leaving the second byte of
// each double-byte character as it is (it may fall in the a-z range).
inline std::string UpperSjis(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsSjisLead(c)) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

// The character at text[i] as a code (lead byte × 256 + trail byte for a
// double-byte character, the byte itself otherwise); returns its length in
// bytes. A lead byte at the very end counts as a single byte.
inline size_t SjisCodeAt(std::string_view text, size_t i, uint16_t& code) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (IsSjisLead(b) && i + 1 < text.size()) {
    code = static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(text[i + 1]));
    return 2;
  }
  code = b;
  return 1;
}

// Converts UTF-8 to Shift-JIS. On a character without a Shift-JIS form (or
// invalid UTF-8) returns false and sets badOffset to its byte offset in text.
bool Utf8ToSjis(std::string_view text, std::string& out, size_t* badOffset = nullptr);
// Converts Shift-JIS to UTF-8; bytes that do not decode become U+FFFD.
std::string SjisToUtf8(std::string_view sjis);
// Shorthand for literals known to convert (engine messages); bad input gives "".
std::string Sjis(std::string_view utf8);

}  // namespace zk
