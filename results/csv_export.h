#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/answer_record.h"

class TResultsStore;

// Answers as CSV for a gradebook or a spreadsheet: UTF-8, a header row, one row per answer,
// fields quoted where they hold a comma, a quote or a line break (RFC 4180), rows ending in
// CRLF. A field that begins with "=", "+", "-", "@", a tab or a carriage return gets a leading
// apostrophe, so that no spreadsheet takes it for a formula (OWASP's advice on CSV injection).
// No control character is written as it is: NUL and the other C0 controls (tab and line breaks
// aside) and DEL become their pictures ("␀"), the C1 controls U+FFFD.
std::string CsvField(std::string_view text);
std::string CsvRow(const std::vector<std::string>& fields);
std::vector<std::string> CsvHeader();
std::vector<std::string> CsvFields(const TAnswerRecord& record);
// "oxidation number: Fe3+; dissociation: AgNO3"
std::string CoachingText(const std::vector<TCoachingNote>& coaching);

// Writes every answer of the store to path, replacing it only when all is written; false with
// why filled in otherwise. progress, given the number of answers written now and then, stops
// the export (and leaves the file as it was) by returning false.
bool ExportCsv(TResultsStore& store, const QString& path, std::string& why,
               const std::function<bool(int64_t)>& progress = {});
