#include "base/Sjis.h"

#include <iconv.h>

#include <cerrno>

namespace zk {

namespace {

// One iconv conversion descriptor per direction, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Converts one chunk; returns bytes consumed before an error, or in.size().
  size_t Run(std::string_view in, std::string& out, bool& failed) {
    failed = false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, dst - buf);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) {
        failed = true;
        break;
      }
    }
    return in.size() - srcLeft;
  }

 private:
  iconv_t cd_;
};

Converter& ToSjis() {
  static Converter c("CP932", "UTF-8");
  return c;
}
Converter& FromSjis() {
  static Converter c("UTF-8", "CP932");
  return c;
}

}  // namespace

bool Utf8ToSjis(std::string_view text, std::string& out, size_t* badOffset) {
  out.clear();
  Converter& c = ToSjis();
  if (!c.Valid()) return false;
  bool failed;
  size_t used = c.Run(text, out, failed);
  if (failed) {
    if (badOffset) *badOffset = used;
    return false;
  }
  return true;
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out;
  Converter& c = FromSjis();
  if (!c.Valid()) return out;
  while (!sjis.empty()) {
    bool failed;
    size_t used = c.Run(sjis, out, failed);
    if (!failed) break;
    // Replace the undecodable byte (or pair) and go on.
    out += "\xEF\xBF\xBD";
    size_t skip = (IsSjisLead(static_cast<unsigned char>(sjis[used])) && used + 1 < sjis.size()) ? 2 : 1;
    sjis.remove_prefix(used + skip);
  }
  return out;
}

std::string Sjis(std::string_view utf8) {
  std::string out;
  if (!Utf8ToSjis(utf8, out)) return {};
  return out;
}

}  // namespace zk
