#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Fixed-width zero-terminated text fields. Readers stop at the first zero or at the field's
// end, whichever comes first; writers zero-fill the field and copy at most size - 1 chars.
inline std::string_view FieldText(const char* field, std::size_t size) {
  const void* zero = std::memchr(field, 0, size);
  return std::string_view(field, zero ? static_cast<const char*>(zero) - field : size);
}

inline void SetFieldText(char* field, std::size_t size, std::string_view text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), text.size() < size ? text.size() : size - 1);
}
