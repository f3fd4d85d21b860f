// Export of any bytes read as a reaction file: what it accepts imports again to the same
// records.
#include <cstdio>
#include <cstdlib>

#include "fuzz/bank_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const std::string problem = ExportProperty(data, size); !problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
