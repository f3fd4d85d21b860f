#include "print/quiz_print.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <utility>

#include "print/heading_file.h"
#include "ui/dc.h"
#include "ui/message_box.h"

namespace {

// A cut never falls inside a character that takes two UTF-16 units.
qsizetype SafeCut(const QString& text, qsizetype n) {
  if (n <= 0 || n >= text.size()) return std::max<qsizetype>(0, std::min(n, text.size()));
  return text[n - 1].isHighSurrogate() ? n - 1 : n;
}

QString Cut(const QString& text) {
  return text.left(SafeCut(text, TSentence::kMaxLength));
}

// The heading in pieces of at most 72 characters: a line ends a piece, and a longer line gives
// several; a line of exactly 72 characters leaves its break as a piece of its own.
std::vector<QString> HeadingPieces(const QString& heading) {
  std::vector<QString> pieces;
  qsizetype start = 0;
  while (start < heading.size()) {
    qsizetype end = start;
    while (end < heading.size() && end - start < TQuizPrint::kHeadingPieceLength) {
      if (heading[end++] == QLatin1Char('\n')) break;
    }
    if (end < heading.size() && end - start == TQuizPrint::kHeadingPieceLength)
      end = start + std::max<qsizetype>(1, SafeCut(heading.mid(start), end - start));
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

// Splits text so that its first part fits width: at the last blank after from that keeps the
// part within width, mid-word only when there is none. The blank is printed on neither part.
std::pair<QString, QString> FitSplit(const QString& text, int width, qsizetype from = 0) {
  if (width <= 0 || text.size() <= width) return {text, {}};
  const qsizetype blank = text.lastIndexOf(QLatin1Char(' '), width);
  if (blank > from) return {text.left(blank), text.mid(blank + 1)};
  const qsizetype cut = std::max<qsizetype>(1, SafeCut(text, width));
  return {text.left(cut), text.mid(cut)};
}

// Every line wider than width split again the same way.
std::vector<QString> FitLines(QString text, int width, qsizetype from = 0) {
  std::vector<QString> out;
  for (;;) {
    auto [first, rest] = FitSplit(text, width, from);
    out.push_back(first);
    if (rest.isEmpty()) return out;
    text = rest;
    from = 0;
  }
}

// The printed lines of question n, before its answer space.
std::vector<QString> QuestionLines(int n, const QString& q, int width) {
  const QString number = QString::number(n) + QStringLiteral(". ");
  const qsizetype numberEnd = number.size() - 1;
  std::vector<QString> out;
  if (q.size() < TQuizPrint::kSplitLength) return FitLines(number + q, width, numberEnd);
  // Split at the last blank among the first 70 characters, the blank printed on neither line.
  const qsizetype blank = q.left(TQuizPrint::kSplitLength).lastIndexOf(QLatin1Char(' '));
  if (blank >= 0) {
    out = FitLines(number + q.left(blank), width, numberEnd);
    for (const QString& line : FitLines(q.mid(blank + 1), width)) out.push_back(line);
    return out;
  }
  // No blank there: on paper of a known width, break where the line is full.
  if (width > 0) return FitLines(number + q, width, numberEnd);
  const qsizetype cut = SafeCut(q, TQuizPrint::kSplitLength);
  return {number + q.left(cut), q.mid(cut)};
}

QFont PageFont(int pageHeight) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter, QFont::PreferQuality);
  font.setFixedPitch(true);
  font.setWeight(QFont::Normal);
  // 72 character heights fill the printable height.
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pageHeight / 72.0))));
  return font;
}

// Lines laid out page by page: a block that would pass the page's limit starts a new page.
class TPager {
 public:
  TPager(std::vector<TSentence>& lines, std::vector<TStart>& pages, int limit)
      : lines_(lines), pages_(pages), limit_(limit) {}

  // Appends the block; true when it had to start a new page first.
  bool Place(const std::vector<QString>& block) {
    const int size = static_cast<int>(block.size());
    const bool breaks = limit_ > 0 && onPage_ > 0 && onPage_ + size > limit_;
    if (breaks) EndPage();
    for (const QString& line : block) lines_.push_back({Cut(line).toStdString()});
    onPage_ += size;
    return breaks;
  }
  void EndPage() {
    page_.last = static_cast<int32_t>(lines_.size()) - 1;
    if (page_.first <= page_.last) pages_.push_back(page_);
    page_.first = page_.last = static_cast<int32_t>(lines_.size());
    onPage_ = 0;
  }

 private:
  std::vector<TSentence>& lines_;
  std::vector<TStart>& pages_;
  int limit_;
  TStart page_{0, 0};
  int onPage_ = 0;
};

}  // namespace

TQuizPrint::TQuizPrint(const TReactionList& shownReactions, TIsSelected isSelected, QWidget* view,
                       TPageLimits paper)
    : TPrintout("Quiz"),
      shownReactions(shownReactions),
      isSelected_(std::move(isSelected)),
      view_(view),
      paper_(paper) {
  BuildPages();
}

void TQuizPrint::BuildPages() {
  if (!ReadHeadingFile(heading_)) {
    MessageBox(view_, kHeadingUnreadable, "Warning", MbIcon::Exclamation);
    return;
  }
  for (std::size_t k = 0; k < shownReactions.size(); ++k)
    if (isSelected_ && isSelected_(k)) questions_.push_back(shownReactions[k]->QuestionText());
  LayOut(paper_);
}

TPageLimits TQuizPrint::PaperLimits(QPrinter& printer) {
  return PageLimits(&printer, printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

void TQuizPrint::LayOut(TPageLimits limits) {
  limits_ = limits;
  Layout(heading_, questions_, lines, pages, limits);
  pageCount = static_cast<int32_t>(pages.size());
}

TPageLimits TQuizPrint::PageLimits(QPaintDevice* device, const QSize& page) {
  if (!device || page.isEmpty()) return {};
  const QFontMetrics metrics(PageFont(page.height()), device);
  const int lineHeight = std::max(1, metrics.height());
  const int left = metrics.horizontalAdvance(QStringLiteral("XXXXXXXXXX")) / 2;
  const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
  // Lines start five line heights down; the last must end within the page.
  return {std::max(1, page.height() / lineHeight - 5),
          std::max(1, (page.width() - left) / charWidth)};
}

void TQuizPrint::Layout(const std::string& heading, const std::vector<std::string>& questions,
                        std::vector<TSentence>& lines, std::vector<TStart>& pages,
                        TPageLimits limits) {
  lines.clear();
  pages.clear();
  TPager pager(lines, pages, limits.lines);
  for (const QString& piece : HeadingPieces(QString::fromStdString(heading)))
    for (const QString& line : FitLines(HeadingLine(piece), limits.chars)) pager.Place({line});
  for (const char* fixed : {" ", kInstruction, "  "})
    for (const QString& line : FitLines(QString::fromUtf8(fixed), limits.chars))
      pager.Place({line});
  int counter = static_cast<int>(lines.size());
  int n = 1;
  for (const std::string& text : questions) {
    std::vector<QString> block = QuestionLines(n, QString::fromStdString(text), limits.chars);
    const int written = static_cast<int>(block.size());
    block.insert(block.end(), 4, QStringLiteral("   "));
    // A question that would pass the page's foot begins the next page.
    if (pager.Place(block)) counter = 1;
    // The counter adds one line less than the question appends.
    counter += written + 3;
    if (counter > kPageCounterLimit) {
      pager.EndPage();
      counter = 1;
    }
    ++n;
  }
  pager.EndPage();
}

void TQuizPrint::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
  if (pages.empty()) {
    minPage = maxPage = selFromPage = selToPage = 0;
    return;
  }
  minPage = selFromPage = 1;
  maxPage = selToPage = pageCount;
}

void TQuizPrint::SetPrintParams(TDC& dc, const QRect& page, int firstPage) {
  TPrintout::SetPrintParams(dc, page, firstPage);
  nextPage = firstPage;
  // The paper chosen in the print dialog may hold fewer lines than the default one.
  if (!lines.empty() && dc.Painter()) {
    const TPageLimits limits = PageLimits(dc.Painter()->device(), page.size());
    if (!(limits == limits_)) LayOut(limits);
  }
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
  dc.SelectFont(PageFont(PageRect().height()));
  const int x = dc.TextWidth("XXXXXXXXXX") / 2;
  const int lineHeight = dc.TextExtent("X").height();
  int y = 5 * lineHeight;
  const TStart& page = pages[static_cast<std::size_t>(nextPage - 1)];
  for (int32_t i = page.first; i <= page.last; ++i) {
    dc.TextOut(x, y, lines[static_cast<std::size_t>(i)].text);
    y += lineHeight;
  }
  ++nextPage;
  dc.SelectFont(previous);
}
