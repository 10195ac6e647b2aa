// libFuzzer entry of one target, chosen when the executable is built.
#include <cstddef>
#include <cstdint>

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzTargets::Run(TERVAN_FUZZ_TARGET, data, size);
  return 0;
}
