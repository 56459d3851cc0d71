// libFuzzer's entry for one target, chosen by name when this file is built.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/targets.h"

// A short allocation history per block keeps AddressSanitizer's reports useful
// and the many small allocations of a run cheap.
extern "C" const char* __asan_default_options() { return "malloc_context_size=5"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Target target = [] {
    const fuzz::Target found = fuzz::FindTarget(DOPLIKI_FUZZ_TARGET);
    if (found == nullptr) {
      std::fprintf(stderr, "no fuzz target named %s\n", DOPLIKI_FUZZ_TARGET);
      std::abort();
    }
    return found;
  }();
  return target(data, size);
}
