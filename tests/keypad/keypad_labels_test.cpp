#include <gtest/gtest.h>

#include "keypad/keypad.h"
#include "ui/keypad_key.h"

namespace {

// The dialogs press keys by id with their button's label; the keypad's own labels must agree,
// or a key would append a different symbol than it shows.
TEST(KeypadLabels, AgreeWithTheButtons) {
  const auto& keys = KeypadKeys();
  ASSERT_EQ(keys.size(),
            static_cast<std::size_t>(TKeypad::kLastSubscript - TKeypad::kFirstElement + 1));
  for (const TKeypadKey& key : keys) EXPECT_EQ(TKeypad::Label(key.id), key.label) << key.id;
}

}  // namespace
