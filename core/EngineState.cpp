#include "core/EngineState.h"

#include <cstdlib>
#include <new>

namespace zk {

void Banks::SetString(int n, const char* text) {
  if (n < 0 || n >= kStringCount) return;
  char* dst = Strings[n];
  size_t len = 0;
  while (text[len] && len < kStringSize - 1) {
    const unsigned char c = static_cast<unsigned char>(text[len]);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead) {
      // A double-byte character that does not fit whole is dropped whole.
      if (len + 2 > kStringSize - 1 || !text[len + 1]) break;
      len += 2;
    } else {
      ++len;
    }
  }
  std::memmove(dst, text, len);
  dst[len] = '\0';
}

EngineState::EngineState() {
  // Zero-filled by the allocator: the part a script does not fill stays
  // untouched and takes no memory.
  Interp.ScriptBuffer = static_cast<uint8_t*>(std::calloc(kScriptBufferSize, 1));
  Interp.SideBuffer = static_cast<uint8_t*>(std::calloc(kScriptBufferSize, 1));
  if (!Interp.ScriptBuffer || !Interp.SideBuffer) throw std::bad_alloc();
}

EngineState::~EngineState() {
  std::free(Interp.ScriptBuffer);
  std::free(Interp.SideBuffer);
}

}  // namespace zk
