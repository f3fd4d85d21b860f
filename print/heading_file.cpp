#include "print/heading_file.h"

#include <QFile>
#include <QStringDecoder>

#include "model/atomic_file.h"
#include "model/windows1252.h"

bool ReadHeadingFile(std::string& text, const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  const std::string raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8.decode(bytes);
  text = utf8.hasError() ? Windows1252ToUtf8(raw) : raw;
  return true;
}

bool WriteHeadingFile(const std::string& text, const std::string& path, std::string* error) {
  return WriteFileAtomically(path, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             error);
}
