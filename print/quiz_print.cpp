#include "print/quiz_print.h"

#include <QFont>
#include <QString>
#include <cmath>

#include "model/windows1252.h"
#include "print/heading_file.h"
#include "ui/dc.h"
#include "ui/message_box.h"
#include "ui/printer.h"

namespace {

void Append(std::vector<TSentence>& lines, const QString& text) {
  lines.push_back({text.left(TSentence::kMaxLength).toStdString()});
}

// The heading in pieces of at most 72 characters: a line ends a piece, and a longer line gives
// several; a line of exactly 72 characters leaves its break as a piece of its own.
std::vector<QString> HeadingPieces(const QString& heading) {
  std::vector<QString> pieces;
  qsizetype start = 0;
  while (start < heading.size()) {
    qsizetype end = start;
    while (end < heading.size() && end - start < TQuizPrint::kHeadingPiece) {
      if (heading[end++] == QLatin1Char('\n')) break;
    }
    pieces.push_back(heading.mid(start, end - start));
    start = end;
  }
  return pieces;
}

QString HeadingLine(QString piece) {
  piece.replace(QLatin1Char('\t'), QStringLiteral("     "));
  piece.remove(QLatin1Char('\r'));
  piece.remove(QLatin1Char('\n'));
  return piece;
}

void AppendAnswerSpace(std::vector<TSentence>& lines) {
  for (int i = 0; i < 4; ++i) lines.push_back({"   "});
}

}  // namespace

TQuizPrint::TQuizPrint(const TReactionList& shownReactions, TIsSelected isSelected, QWidget* view,
                       TPrinter& printer)
    : TPrintout("Quiz"),
      shownReactions(shownReactions),
      isSelected(std::move(isSelected)),
      view(view),
      printer(printer) {
  BuildPages();
}

void TQuizPrint::BuildPages() {
  std::string heading;
  if (!ReadHeadingFile(heading)) {
    MessageBox(view, "Unable to open tarvolin.hed", "Warning", MbIcon::Exclamation);
    return;
  }
  std::vector<std::string> questions;
  for (std::size_t k = 0; k < shownReactions.size(); ++k)
    if (isSelected && isSelected(k))
      questions.push_back(Windows1252ToUtf8(shownReactions[k]->Question()));
  Layout(heading, questions, lines, pages);
  pageCount = static_cast<int32_t>(pages.size());
}

void TQuizPrint::Layout(const std::string& heading, const std::vector<std::string>& questions,
                        std::vector<TSentence>& lines, std::vector<TStart>& pages) {
  lines.clear();
  pages.clear();
  for (const QString& piece : HeadingPieces(QString::fromStdString(heading)))
    Append(lines, HeadingLine(piece));
  TStart page{0, 0};
  lines.push_back({" "});
  lines.push_back({kInstruction});
  lines.push_back({"  "});
  int counter = static_cast<int>(lines.size());
  int n = 1;
  for (const std::string& text : questions) {
    const QString q = QString::fromStdString(text);
    const QString number = QString::number(n) + QStringLiteral(". ");
    if (q.size() < kOneLineQuestion) {
      Append(lines, number + q);
      AppendAnswerSpace(lines);
      counter += 4;
    } else {
      // Split at the last blank among the first 70 characters, the blank printed on neither
      // line; a question with no blank there is split after its 70th character.
      const qsizetype blank = q.left(kOneLineQuestion).lastIndexOf(QLatin1Char(' '));
      const qsizetype cut = blank >= 0 ? blank : kOneLineQuestion;
      Append(lines, number + q.left(cut));
      Append(lines, q.mid(blank >= 0 ? cut + 1 : cut));
      AppendAnswerSpace(lines);
      counter += 5;
    }
    if (counter > kLinesPerPageCount) {
      page.last = static_cast<int32_t>(lines.size()) - 1;
      pages.push_back(page);
      page.first = page.last = static_cast<int32_t>(lines.size());
      counter = 1;
    }
    ++n;
  }
  page.last = static_cast<int32_t>(lines.size()) - 1;
  if (page.first <= page.last) pages.push_back(page);
}

void TQuizPrint::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  if (pages.empty()) {
    minPage = maxPage = selFromPage = selToPage = 0;
    return;
  }
  minPage = selFromPage = 1;
  maxPage = selToPage = pageCount;
  printer.Device().setFromTo(1, pageCount);
}

void TQuizPrint::SetPrintParams(TDC& dc, const QRect& page, int firstPage) {
  TPrintout::SetPrintParams(dc, page, firstPage);
  nextPage = firstPage;
}

bool TQuizPrint::HasPage(int) {
  return !lines.empty() && pageCount > 0 && nextPage <= pageCount;
}

void TQuizPrint::PrintPage(int) {
  if (nextPage > pageCount || lines.empty()) return;
  if (pages.empty()) {
    ++nextPage;
    return;
  }
  TDC& dc = *DC();
  const QFont previous = dc.Font();
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter, QFont::PreferQuality);
  font.setFixedPitch(true);
  font.setWeight(QFont::Normal);
  // 72 character heights fill the printable height.
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(PageRect().height() / 72.0))));
  dc.SelectFont(font);
  const int x = dc.TextWidth("XXXXXXXXXX") / 2;
  lineHeight = dc.TextExtent("X").height();
  int y = 5 * lineHeight;
  const TStart& page = pages[static_cast<std::size_t>(nextPage - 1)];
  for (int32_t i = page.first; i <= page.last; ++i) {
    dc.TextOut(x, y, lines[static_cast<std::size_t>(i)].text);
    y += lineHeight;
  }
  ++nextPage;
  dc.SelectFont(previous);
}
