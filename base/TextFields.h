// Field access for the comma-separated values of definition lines and
// command arguments.
#pragma once
#include <string_view>

namespace zk {

// Field n (0-based) of a comma-separated text: the text between the n-th and
// the (n+1)-th comma; empty when the text has fewer fields.
inline std::string_view CommaField(std::string_view text, int n) {
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  const size_t end = text.find(',', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace zk
