// The game definition section from arbitrary bytes.
#include <cstdint>
#include <vector>

#include "resources/GameDefinition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zk::GameDefinition def;
  std::vector<zk::ConfigProblem> problems;
  zk::ParseGameDefinition(std::span<const uint8_t>(data, size), def, &problems);
  return 0;
}
