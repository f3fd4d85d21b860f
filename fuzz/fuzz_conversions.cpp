// The conversions between UTF-8 and Windows-1252, both ways.
#include <cstdio>
#include <cstdlib>

#include "fuzz/bank_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const std::string problem = ConversionProperty(data, size); !problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
