#include "model/windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, EveryByteRoundTripsAndOtherCharactersAreRefused) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  ASSERT_TRUE(Utf8ToWindows1252(Windows1252ToUtf8(all), back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(Windows1252ToUtf8("\x80\xE9\x93"), "\xE2\x82\xAC\xC3\xA9\xE2\x80\x9C");

  const std::pair<const char*, const char*> refused[] = {
      {"H\xE2\x82\x82O", "\xE2\x82\x82"},  // a subscript two
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"bad \xC3", "\xEF\xBF\xBD"}};  // cut short
  for (const auto& [text, bad] : refused) {
    std::string out = "kept", which;
    EXPECT_FALSE(Utf8ToWindows1252(text, out, &which)) << text;
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(which, bad);
  }
}

// Only the shortest form of a character is UTF-8; every other sequence is refused as no
// character at all, never taken as the character it spells.
TEST(Windows1252, MalformedUtf8IsRefused) {
  const char* const rows[] = {
      "\xC1\x81",          // "A" in two bytes
      "\xC0\x80",          // NUL in two bytes
      "\xE0\x81\x81",      // "A" in three
      "\xF0\x80\x80\x98",  // byte 18 in four
      "\xE0\x83\xA9",      // e acute in three
      "\xF0\x80\x82\xAC",  // the euro sign in four
      "\xED\xA0\x80",      // a surrogate
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xF5\x80\x80\x80",  // a lead byte that starts nothing
      "\x80",              // a continuation byte alone
  };
  for (const char* text : rows) {
    std::string out = "kept", which;
    EXPECT_FALSE(Utf8ToWindows1252(std::string("x") + text + "y", out, &which)) << text;
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(which, "\xEF\xBF\xBD");
  }
}
