#include "print/heading_file.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

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
  QSaveFile file(QString::fromStdString(path));
  const auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + file.errorString().toStdString();
    file.cancelWriting();
    return false;
  };
  if (!file.open(QIODevice::WriteOnly)) return fail("Cannot create the new heading file");
  const auto size = static_cast<qint64>(text.size());
  if (file.write(text.data(), size) != size) return fail("Cannot write the heading");
  if (!file.commit()) return fail("Cannot replace the heading file");
  return true;
}
