#pragma once
#include <cstdint>

// One printed page: the indices of its first and last line, both included.
struct TStart {
  int32_t first = 0;
  int32_t last = 0;
};
