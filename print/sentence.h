#pragma once
#include <string>

// One printed line of a quiz (UTF-8, at most 99 characters).
struct TSentence {
  static constexpr int kMaxLength = 99;
  std::string text;
};
