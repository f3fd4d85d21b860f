#pragma once
#include <algorithm>
#include <cctype>
#include <string_view>

// Resources are found by name regardless of case ("changecharge" finds CHANGECHARGE).
inline bool SameResourceName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}
