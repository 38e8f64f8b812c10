// Archive indexes of both layouts from arbitrary bytes.
#include <cstdint>
#include <cstdlib>

#include "resources/Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  for (zk::IndexLayout layout : {zk::IndexLayout::Fixed, zk::IndexLayout::General}) {
    zk::ArchiveIndex index;
    if (!zk::ParseIndex(layout, bytes, size, index)) continue;
    // Every name must be found again, and lookups of odd names must be safe.
    for (int i = 0; i < index.Count(); ++i)
      if (index.Find(index.Names[i]) > i) std::abort();
    index.Find(std::string_view(reinterpret_cast<const char*>(data), size < 40 ? size : 40));
  }
  return 0;
}
