// The printed quiz: its lines and pages, and printing them for real into a PDF file.
#include "print/quiz_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>

#include "print/heading_file.h"
#include "print/my_printer.h"
#include "tests/support/driver.h"
#include "tests/support/has_text.h"
#include "tests/support/working_folder.h"

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
      // A character beyond the Basic Multilingual Plane is never cut in two at a piece's end.
      {std::string(71, 'h') + "\xF0\x9F\xA7\xAA" + "x",
       {},
       Join({{std::string(71, 'h'), "\xF0\x9F\xA7\xAA" + std::string("x")}, kFixed})},
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

TEST(QuizLayout, ThePageCounterEndsAPageOnlyPastItsLimitAndPagesKeepWithinThePaper) {
  const std::string shortQ = "Short question.";
  const std::string longQ = std::string(60, 'a') + " " + std::string(20, 'b');  // two lines
  // The counter starts at 3; eight one-line questions and two two-line ones bring it to exactly
  // 45, which is not past the limit: the page ends only after the next question.
  Strings questions(8, shortQ);
  questions.insert(questions.end(), {longQ, longQ, shortQ, shortQ});
  std::vector<TSentence> lines;
  std::vector<TStart> pages;
  TQuizPrint::Layout("", questions, lines, pages);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].last, 3 + 8 * 5 + 2 * 6 + 5 - 1);
  EXPECT_EQ(lines[static_cast<std::size_t>(pages[1].first)].text, "12. " + shortQ);

  // With the paper's limits: no page holds more lines than fit, a question never straddles two
  // pages, and no line is wider than the paper.
  const std::string noBlank(90, 'n');
  const std::string lateBlank = "Zinc " + std::string(70, 'x') + " " + std::string(23, 'y');
  questions = Strings(30, shortQ);
  questions.insert(questions.begin() + 5, {noBlank, lateBlank, longQ});
  const TPageLimits limits{20, 40};
  TQuizPrint::Layout("Heading\twith a tab that widens it past the forty characters", questions,
                     lines, pages, limits);
  ASSERT_GT(pages.size(), 3u);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_LE(pages[p].last - pages[p].first + 1, limits.lines) << "page " << p + 1;
    if (p > 0) {
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(lines[pages[p].first].text[0])))
          << "page " << p + 1 << " starts inside a question";
    }
  }
  for (const TSentence& line : lines) EXPECT_LE(line.text.size(), 40u) << line.text;
  // The question of no blank breaks where the line is full; the blank-split one is split again.
  const auto at = [&](const std::string& text) {
    return std::find_if(lines.begin(), lines.end(),
                        [&](const TSentence& s) { return s.text == text; }) != lines.end();
  };
  EXPECT_TRUE(at("6. " + std::string(37, 'n')));
  EXPECT_TRUE(at("7. Zinc"));
  EXPECT_TRUE(at(std::string(40, 'x')));
  EXPECT_TRUE(at(std::string(30, 'x')));
  EXPECT_TRUE(at(std::string(23, 'y')));
}

TEST(QuizLayout, AnyHeadingAndQuestionsKeepEveryCharacterWithinThePaper) {
  // Random headings and questions of letters, blanks, tabs, line breaks and a wide character:
  // every page within its lines, every line within its width, no wide character cut in two,
  // and each question's characters all printed, in order.
  std::mt19937 random(20261207);
  const std::vector<std::string> pieces = {"a", "b", " ", "\t", "\n", "\xF0\x9F\xA7\xAA", "xyz"};
  const auto text = [&](std::size_t most) {
    std::string out;
    const std::size_t n = random() % most;
    for (std::size_t i = 0; i < n; ++i) out += pieces[random() % pieces.size()];
    return out;
  };
  for (int round = 0; round < 300; ++round) {
    const std::string heading = text(60);
    Strings questions;
    for (int q = 0; q < static_cast<int>(random() % 30); ++q) {
      std::string question = text(40);
      std::erase(question, '\n');
      std::erase(question, '\t');
      questions.push_back(question.substr(0, 90));
    }
    const TPageLimits limits{static_cast<int>(12 + random() % 50),
                             static_cast<int>(20 + random() % 80)};
    std::vector<TSentence> lines;
    std::vector<TStart> pages;
    TQuizPrint::Layout(heading, questions, lines, pages, limits);
    ASSERT_FALSE(pages.empty());
    for (const TStart& page : pages) ASSERT_LE(page.last - page.first + 1, limits.lines);
    std::string printed;
    for (const TSentence& line : lines) {
      const QString wide = QString::fromStdString(line.text);
      ASSERT_LE(wide.size(), limits.chars) << line.text;
      ASSERT_EQ(wide.toStdString(), line.text) << "a character was cut in two";
      printed += line.text;
    }
    std::string wanted;
    for (const std::string& question : questions)
      for (char c : question)
        if (c != ' ') wanted += c;
    std::string got;
    for (char c : printed)
      if (c != ' ') got += c;
    // The questions' characters stand in the printout in order (numbers and heading between).
    std::size_t at = 0;
    for (char c : wanted) {
      at = got.find(c, at);
      ASSERT_NE(at, std::string::npos) << "round " << round;
      ++at;
    }
  }
}

class QuizPrintTest : public ::testing::Test {
 protected:
  void TearDown() override { TPrinter::SetDialogHandler({}); }
  // Reactions "Question 1." ... with every n-th one selected.
  void Make(int count) {
    for (int i = 1; i <= count; ++i)
      reactions_.push_back(
          std::make_unique<TReaction>(("Question " + std::to_string(i) + ".").c_str(), 0));
  }
  // Prints to a PDF file with the page range given (0, 0: all pages); the text read back.
  std::string PrintToPdf(TQuizPrint& quiz, int from, int to) {
    const QString pdf = QString::fromStdString(folder_.FilePath("quiz.pdf"));
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
  TWorkingFolder folder_;
};

TEST_F(QuizPrintTest, PrintsTheTickedQuestionsInOrderOnPdfPages) {
  { std::ofstream("tarvolin.hed") << "Chemistry Quiz\nName: ______"; }
  Make(5);
  TQuizPrint quiz(
      reactions_, [](std::size_t k) { return k == 1 || k == 4; }, nullptr,
      TQuizPrint::PaperLimits(printer_.Device()));
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
  Make(40);
  TQuizPrint quiz(
      reactions_, [](std::size_t) { return true; }, nullptr,
      TQuizPrint::PaperLimits(printer_.Device()));
  ASSERT_GE(quiz.PageCount(), 4);
  // The first and last question of pages 2 and 3, as laid out.
  const auto& lines = quiz.Lines();
  const std::string first = lines[static_cast<std::size_t>(quiz.Pages()[1].first)].text;
  const std::string last = lines[static_cast<std::size_t>(quiz.Pages()[2].last) - 4].text;
  const std::string before = lines[static_cast<std::size_t>(quiz.Pages()[0].last) - 4].text;
  const std::string after = lines[static_cast<std::size_t>(quiz.Pages()[3].first)].text;
  const std::string text = PrintToPdf(quiz, 2, 3);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
  EXPECT_EQ(text.find(before + "\n"), std::string::npos) << before;
  EXPECT_TRUE(HasText(text, first)) << first;
  EXPECT_LT(text.find(first), text.find(last));
  EXPECT_TRUE(HasText(text, last)) << last;
  EXPECT_EQ(text.find(after + "\n"), std::string::npos) << after;
  EXPECT_EQ(text.find("Write net ionic"), std::string::npos);
}

// Each printed word's box, as pdftotext -bbox reports it (points, origin at the top left).
struct TWordBox {
  int page;
  double yMin, xMax, yMax;
  std::string word;
};

std::vector<TWordBox> WordBoxes(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-bbox", pdf, "-"});
  process.waitForFinished(20000);
  const QString html = QString::fromUtf8(process.readAllStandardOutput());
  std::vector<TWordBox> boxes;
  int page = 0;
  const QRegularExpression tag(QString::fromUtf8(
      R"re(<page |<word xMin="[^"]*" yMin="([^"]*)" xMax="([^"]*)" yMax="([^"]*)">([^<]*)</word>)re"));
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const auto match = it.next();
    if (match.captured(0).startsWith(QStringLiteral("<page"))) {
      ++page;
      continue;
    }
    boxes.push_back({page, match.captured(1).toDouble(), match.captured(2).toDouble(),
                     match.captured(3).toDouble(), match.captured(4).toStdString()});
  }
  return boxes;
}

TEST_F(QuizPrintTest, NothingPrintedFallsOffTheLetterOrTheA4Page) {
  { std::ofstream("tarvolin.hed") << "Chemistry\tQuiz"; }
  for (int i = 1; i <= 40; ++i) {
    const std::string q = i % 7 == 3 ? "Zinc " + std::string(70, 'x') + " " + std::string(23, 'y')
                                     : "Question " + std::to_string(i) + ".";
    reactions_.push_back(std::make_unique<TReaction>(q.c_str(), 0));
  }
  for (const QPageSize::PageSizeId paper : {QPageSize::Letter, QPageSize::A4}) {
    SCOPED_TRACE(paper == QPageSize::A4 ? "A4" : "Letter");
    printer_.Device().setPageSize(QPageSize(paper));
    TQuizPrint quiz(
        reactions_, [](std::size_t) { return true; }, nullptr,
        TQuizPrint::PaperLimits(printer_.Device()));
    const QString pdf = QString::fromStdString(folder_.FilePath("paper.pdf"));
    QRectF printable;
    TPrinter::SetDialogHandler([&](QPrinter& printer, int, int, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      printable = printer.pageLayout().paintRect(QPageLayout::Point);
      return true;
    });
    ASSERT_TRUE(printer_.Print(nullptr, quiz, true));
    const std::vector<TWordBox> boxes = WordBoxes(pdf);
    ASSERT_FALSE(boxes.empty());
    // One line's height on paper: from question 1's line to question 2's, five lines lower.
    double first = 0, second = 0;
    for (const TWordBox& box : boxes) {
      if (box.word == "1.") first = box.yMin;
      if (box.word == "2.") second = box.yMin;
    }
    const double step = (second - first) / 5;
    ASSERT_GT(step, 0);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const TWordBox& box = boxes[i];
      EXPECT_LE(box.xMax, printable.right() + 0.5) << box.word;
      // The last question of a page, with the four answer lines below it, ends on the page.
      const bool lastOnPage = i + 1 == boxes.size() || boxes[i + 1].page != box.page;
      if (lastOnPage) {
        EXPECT_LE(box.yMax + 4 * step, printable.bottom() + 0.5)
            << box.word << " on page " << box.page;
      }
    }
  }
}

TEST_F(QuizPrintTest, AMissingHeadingWarnsAndNothingIsPrinted) {
  Make(2);
  TDriver driver;
  driver.ExpectMessage("Unable to open tarvolin.hed", "Warning");
  TQuizPrint quiz(
      reactions_, [](std::size_t) { return true; }, nullptr,
      TQuizPrint::PaperLimits(printer_.Device()));
  driver.Verify();
  EXPECT_TRUE(quiz.Lines().empty());
  TPrinter::SetDialogHandler([](QPrinter&, int, int, QWidget*) {
    ADD_FAILURE() << "no print dialog without pages";
    return false;
  });
  EXPECT_FALSE(printer_.Print(nullptr, quiz, true));
}

}  // namespace
