#pragma once
#include <string>
#include <string_view>

// Question texts are stored one byte a character, in the Windows-1252 character set that
// reaction files have always held. These convert between that and UTF-8.

// Every byte has a meaning here; the five bytes 1252 leaves unassigned keep their C1 code point.
std::string Windows1252ToUtf8(std::string_view bytes);

// False when the text holds a character 1252 cannot store (or is not valid UTF-8); then
// *bad (when given) is that character, as UTF-8, and out is left as it was.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::string* bad = nullptr);
