#include "model/type_flags.h"

#include "model/reaction.h"

int32_t TypeFromFlags(const TTypeFlags& flags) {
  for (int32_t type = Precipitation; type < Miscellaneous; ++type)
    if (flags[type] == 1) return type;
  return Miscellaneous;
}
