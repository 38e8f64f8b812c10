#include "core/EngineState.h"

#include <cstdlib>
#include <new>

namespace zk {

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
