#include "model/windows1252.h"

#include <cstdint>

namespace {

// Code points of bytes 0x80..0x9F; the rest of the set is Latin-1.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePoint(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : byte;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at i; false on a malformed one. Only the shortest form of each
// code point is valid: an overlong form (C0 81 for "A") could slip a character past a check
// that looks at bytes, so it is refused, as are surrogates and code points past U+10FFFF.
bool NextCodePoint(std::string_view s, std::size_t& i, char32_t& c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  int extra = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    c = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    c = lead & 0x1F, extra = 1, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    c = lead & 0x0F, extra = 2, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    c = lead & 0x07, extra = 3, least = 0x10000;
  } else {
    return false;  // a continuation byte, C0, C1 or F5..FF
  }
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= s.size() || (byte(i + k) & 0xC0) != 0x80) return false;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  i += 1 + extra;
  return true;
}

bool Encode(char32_t c, char& byte) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    byte = static_cast<char>(c);
    return true;
  }
  for (int k = 0; k < 32; ++k) {
    if (kHigh[k] == c) {
      byte = static_cast<char>(0x80 + k);
      return true;
    }
  }
  return false;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) AppendUtf8(out, CodePoint(static_cast<unsigned char>(b)));
  return out;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::string* bad) {
  std::string result;
  result.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    char32_t c = 0;
    char byte = 0;
    if (!NextCodePoint(utf8, i, c)) {
      if (bad) *bad = "\xEF\xBF\xBD";  // U+FFFD stands in for bytes that are no character
      return false;
    }
    if (!Encode(c, byte)) {
      if (bad) *bad = std::string(utf8.substr(start, i - start));
      return false;
    }
    result += byte;
  }
  out = std::move(result);
  return true;
}
