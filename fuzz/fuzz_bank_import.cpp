// The text form: lenient import, round trip through binary and text, and the balance check's
// verdicts against an independent count.
#include <cstdio>
#include <cstdlib>

#include "fuzz/bank_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const std::string problem = ImportProperty(data, size); !problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
