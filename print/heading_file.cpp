#include "print/heading_file.h"

#include <QFile>

#include "model/atomic_file.h"
#include "model/windows1252.h"

bool ReadHeadingFile(std::string& text, const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  const std::string raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  // A file that is not UTF-8 is one of the older single-byte files.
  text = bytes.isValidUtf8() ? raw : Windows1252ToUtf8(raw);
  return true;
}

bool WriteHeadingFile(const std::string& text, const std::string& path, std::string* error) {
  return WriteFileAtomically(path, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             error);
}
