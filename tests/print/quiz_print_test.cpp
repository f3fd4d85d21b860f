// The printed quiz: its lines and pages, and printing them for real into a PDF file.
#include "print/quiz_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>

#include "print/heading_file.h"
#include "print/my_printer.h"
#include "tests/support/driver.h"

namespace {

using Strings = std::vector<std::string>;

Strings Texts(const std::vector<TSentence>& lines, std::size_t from = 0,
              std::size_t to = std::string::npos) {
  Strings out;
  for (std::size_t i = from; i < lines.size() && i <= to; ++i) out.push_back(lines[i].text);
  return out;
}

const Strings kFixed = {" ", TQuizPrint::kInstruction, "  "};
const Strings kSpace = {"   ", "   ", "   ", "   "};

Strings Join(std::initializer_list<Strings> parts) {
  Strings out;
  for (const Strings& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

TEST(QuizLayout, HeadingPiecesQuestionsAndSplits) {
  const std::string q69(69, 'a');
  const std::string q70 = std::string(40, 'b') + " " + std::string(20, 'c') + " " +
                          std::string(8, 'd');  // 70, last blank among the first 70 at 61
  const std::string noBlank = std::string(75, 'e') + " f";
  const struct {
    std::string heading;
    Strings questions;
    Strings lines;
  } cases[] = {
      {"", {}, kFixed},
      {"Quiz\nName:\tDate:", {}, Join({{"Quiz", "Name:     Date:"}, kFixed})},
      {std::string(80, 'h'), {}, Join({{std::string(72, 'h'), std::string(8, 'h')}, kFixed})},
      // A line of exactly 72 leaves its line break as an empty line.
      {std::string(72, 'h') + "\nx", {}, Join({{std::string(72, 'h'), "", "x"}, kFixed})},
      {"\r\n",
       {q69, q70, noBlank},
       Join({{""},
             kFixed,
             {"1. " + q69},
             kSpace,
             {"2. " + q70.substr(0, 61), q70.substr(62)},
             kSpace,
             {"3. " + noBlank.substr(0, 70), noBlank.substr(70)},
             kSpace})},
  };
  for (const auto& c : cases) {
    std::vector<TSentence> lines;
    std::vector<TStart> pages;
    TQuizPrint::Layout(c.heading, c.questions, lines, pages);
    EXPECT_EQ(Texts(lines), c.lines) << c.heading;
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].first, 0);
    EXPECT_EQ(pages[0].last, static_cast<int32_t>(lines.size()) - 1);
  }
}

TEST(QuizLayout, APageEndsAfterTheQuestionThatTakesItPast45) {
  // Twelve one-line questions under an empty heading: the counter starts at 3 and passes 45
  // with the eleventh, so page 1 holds 3 + 11 * 5 = 58 lines and page 2 the twelfth.
  Strings questions(12, "Short question.");
  std::vector<TSentence> lines;
  std::vector<TStart> pages;
  TQuizPrint::Layout("", questions, lines, pages);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].last, 57);
  EXPECT_EQ(pages[1].first, 58);
  EXPECT_EQ(pages[1].last, 62);
  EXPECT_EQ(lines[58].text, "12. Short question.");

  // When the last question ends a page, no empty page follows.
  questions.resize(11);
  TQuizPrint::Layout("", questions, lines, pages);
  EXPECT_EQ(pages.size(), 1u);
}

class QuizPrintTest : public ::testing::Test {
 protected:
  void SetUp() override { QDir::setCurrent(dir_.path()); }
  void TearDown() override {
    TPrinter::SetDialogHandler({});
    QDir::setCurrent(previous_);
  }
  // Reactions "Question 1." ... with every n-th one selected.
  void Make(int count) {
    for (int i = 1; i <= count; ++i)
      reactions_.push_back(
          std::make_unique<TReaction>(("Question " + std::to_string(i) + ".").c_str(), 0));
  }
  // Prints to a PDF file with the page range given (0, 0: all pages); the text read back.
  std::string PrintToPdf(TQuizPrint& quiz, int from, int to) {
    const QString pdf = dir_.filePath("quiz.pdf");
    TPrinter::SetDialogHandler([&](QPrinter& printer, int minPage, int maxPage, QWidget*) {
      EXPECT_EQ(minPage, 1);
      EXPECT_EQ(maxPage, quiz.PageCount());
      EXPECT_EQ(printer.fromPage(), 1);
      EXPECT_EQ(printer.toPage(), quiz.PageCount());
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      printer.setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
      printer.setFromTo(from, to);
      return true;
    });
    EXPECT_TRUE(printer_.Print(nullptr, quiz, true)) << printer_.Error();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(pdftotext.waitForFinished(20000));
    return pdftotext.readAllStandardOutput().toStdString();
  }

  TMyPrinter printer_;
  TReactionList reactions_;
  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
};

TEST_F(QuizPrintTest, PrintsTheTickedQuestionsInOrderOnPdfPages) {
  { std::ofstream("tarvolin.hed") << "Chemistry Quiz\nName: ______"; }
  Make(5);
  TQuizPrint quiz(
      reactions_, [](std::size_t k) { return k == 1 || k == 4; }, nullptr, printer_);
  const std::string text = PrintToPdf(quiz, 0, 0);
  // The text as pdftotext lays it out (it may widen the gap between the two sentences).
  const char* inOrder[] = {
      "Chemistry Quiz",  "Name: ______",   "Write net ionic equations for the following reactions.",
      "Do not balance.", "1. Question 2.", "2. Question 5."};
  std::size_t at = 0;
  for (const char* line : inOrder) {
    const std::size_t found = text.find(line, at);
    EXPECT_NE(found, std::string::npos) << line << "\n" << text;
    at = found == std::string::npos ? at : found;
  }
  EXPECT_EQ(text.find("Question 1."), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page";
}

TEST_F(QuizPrintTest, APageRangePrintsThosePagesOnly) {
  { std::ofstream("tarvolin.hed") << ""; }
  Make(40);  // eleven questions a page: four pages
  TQuizPrint quiz(
      reactions_, [](std::size_t) { return true; }, nullptr, printer_);
  ASSERT_EQ(quiz.PageCount(), 4);
  const std::string text = PrintToPdf(quiz, 2, 3);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
  EXPECT_EQ(text.find("11. Question 11."), std::string::npos);
  EXPECT_LT(text.find("12. Question 12."), text.find("35. Question 35."));
  EXPECT_NE(text.find("35. Question 35."), std::string::npos);
  EXPECT_EQ(text.find("36. Question 36."), std::string::npos);
  EXPECT_EQ(text.find("Write net ionic"), std::string::npos);
}

TEST_F(QuizPrintTest, AMissingHeadingWarnsAndNothingIsPrinted) {
  Make(2);
  TDriver driver;
  driver.ExpectMessage("Unable to open tarvolin.hed", "Warning");
  TQuizPrint quiz(
      reactions_, [](std::size_t) { return true; }, nullptr, printer_);
  driver.Verify();
  EXPECT_TRUE(quiz.Lines().empty());
  TPrinter::SetDialogHandler([](QPrinter&, int, int, QWidget*) {
    ADD_FAILURE() << "no print dialog without pages";
    return false;
  });
  EXPECT_FALSE(printer_.Print(nullptr, quiz, true));
}

}  // namespace
