#pragma once
#include <string>

// The heading of printed quizzes, a text file in the working folder. The program reads it and
// rewrites it but never creates it: a new installation ships one.
inline constexpr const char* kHeadingFileName = "tarvolin.hed";
inline constexpr int kMaxHeading = 120;
// What the user is told when the heading file cannot be opened.
inline const std::string kHeadingUnreadable = std::string("Unable to open ") + kHeadingFileName;

// The whole file as UTF-8 (a file in the older single-byte form is converted); false when it
// cannot be opened.
bool ReadHeadingFile(std::string& text, const std::string& path = kHeadingFileName);

// Replaces the file with text, exactly. The old file is replaced whole or not at all; on
// failure error says why.
bool WriteHeadingFile(const std::string& text, const std::string& path = kHeadingFileName,
                      std::string* error = nullptr);
