// UTF-8 decoding and encoding of single code points.
//
// The decoder checks the shape of a sequence only: a lead byte of 00-7F,
// C0-DF, E0-EF or F0-F7 followed by as many continuation bytes (80-BF) as the
// lead announces. It does not reject overlong forms, surrogates or values
// above U+10FFFF; callers that need Unicode scalar values check them.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the sequence that starts at text[i] (i < text.size()) into cp and
// returns its length in bytes (1-4). Returns 0, with cp set to U+FFFD, when
// the lead byte cannot start a sequence, a continuation byte is missing or
// the text ends inside the sequence.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp);

// Appends the 1-4 byte form of cp (at most 0x1FFFFF; larger values append
// U+FFFD).
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace zk
