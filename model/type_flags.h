#pragma once
#include <array>
#include <cstdint>

// One flag per reaction type code 0..4: 1 when the type is chosen, 0 when not.
using TTypeFlags = std::array<int32_t, 5>;

// The type a single-choice flag array stands for: the first of 0..3 whose flag is 1, else 4
// (Miscellaneous), so an all-zero array reads as Miscellaneous and flag 4 is never looked at.
int32_t TypeFromFlags(const TTypeFlags& flags);
