#include "results/csv_export.h"

#include <QSaveFile>

#include "results/answer_columns.h"
#include "results/results_store.h"

namespace {

// Control characters (a NUL in a name, an escape pasted with it) are shown, not passed on: a
// spreadsheet cuts a cell short at a NUL or drops what it cannot show. The C0 controls and DEL
// become their pictures (U+2400 to U+2421, "␀" for NUL); the C1 controls, which have none,
// U+FFFD. Tabs and line breaks are text a cell may hold.
std::string Shown(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f) {
      const unsigned picture = c == 0x7f ? 0x2421 : 0x2400 + c;
      shown += static_cast<char>(0xe0 | (picture >> 12));
      shown += static_cast<char>(0x80 | ((picture >> 6) & 0x3f));
      shown += static_cast<char>(0x80 | (picture & 0x3f));
    } else if (c == 0xc2 && next >= 0x80 && next <= 0x9f) {
      shown += "\xEF\xBF\xBD";
      ++i;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

}  // namespace

std::string CsvField(std::string_view raw) {
  const std::string text = Shown(raw);
  // A spreadsheet runs a cell that begins with one of these as a formula (a student name of
  // =HYPERLINK(...), an answer of "-> AgCl"); the apostrophe makes it text, as OWASP advises.
  std::string cell;
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
    cell = "'";
  cell += text;
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string CsvRow(const std::vector<std::string>& fields) {
  std::string row;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) row += ',';
    row += CsvField(fields[i]);
  }
  return row + "\r\n";
}

std::vector<std::string> CsvHeader() {
  std::vector<std::string> header(kAnswerColumns.size() + 1);
  for (const TAnswerColumn& column : kAnswerColumns) header[column.csvPlace] = column.header;
  header[kCsvCoachingPlace] = "coaching";
  return header;
}

std::string CoachingText(const std::vector<TCoachingNote>& coaching) {
  std::string text;
  for (const TCoachingNote& note : coaching) {
    if (!text.empty()) text += "; ";
    text += std::string(CoachingStepName(note.step)) + ": " + note.substance;
  }
  return text;
}

std::vector<std::string> CsvFields(const TAnswerRecord& r) {
  std::vector<std::string> fields(kAnswerColumns.size() + 1);
  for (const TAnswerColumn& column : kAnswerColumns) fields[column.csvPlace] = column.Shown(r);
  fields[kCsvCoachingPlace] = CoachingText(r.coaching);
  return fields;
}

bool ExportCsv(TResultsStore& store, const QString& path, std::string& why,
               const std::function<bool(int64_t)>& progress) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    why = path.toStdString() + " cannot be written (" + file.errorString().toStdString() + ")";
    return false;
  }
  auto put = [&file](const std::string& row) {
    return file.write(row.data(), static_cast<qint64>(row.size())) ==
           static_cast<qint64>(row.size());
  };
  bool written = put(CsvRow(CsvHeader()));
  int64_t rows = 0;
  bool stopped = false;
  const bool read = written && store.ReadAnswers([&](const TAnswerRecord& record) {
    written = put(CsvRow(CsvFields(record)));
    if (progress && ++rows % 1000 == 0 && !progress(rows)) stopped = true;
    return written && !stopped;
  });
  if (stopped) {
    why = "the export was stopped";
    file.cancelWriting();
    return false;
  }
  if (!read && written) {
    why = store.ErrorInSentence();
    file.cancelWriting();
    return false;
  }
  if (!written || !file.commit()) {
    why = path.toStdString() + " cannot be written (" + file.errorString().toStdString() + ")";
    return false;
  }
  return true;
}
