#pragma once
#include <QString>
#include <string>

// A UTF-8 text of the store as Qt takes it.
inline QString QStringOf(const std::string& text) {
  return QString::fromStdString(text);
}
