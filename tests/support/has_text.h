#pragma once
#include <gtest/gtest.h>

#include <string>
#include <string_view>

// Whether a message holds a text; on failure it shows both, which a bare find() does not.
inline ::testing::AssertionResult HasText(std::string_view message, std::string_view text) {
  if (message.find(text) != std::string_view::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "\"" << message << "\" does not contain \"" << text << "\"";
}
