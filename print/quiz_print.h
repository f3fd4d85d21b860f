#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/reaction.h"
#include "print/sentence.h"
#include "print/start.h"
#include "ui/printout.h"

class QPaintDevice;
class QSize;
class QWidget;
class QPrinter;

// What one printed page holds at the printer's real metrics: lines below the top margin and
// characters right of the left margin. 0 leaves that measure unlimited.
struct TPageLimits {
  int lines = 0;
  int chars = 0;
  bool operator==(const TPageLimits&) const = default;
};

// A paper quiz: the heading, the instruction, and each selected question numbered, with room
// below it for the answer. Every line and page is laid out when the printout is made.
class TQuizPrint : public TPrintout {
 public:
  // Whether listed reaction k is selected (its check box is ticked).
  using TIsSelected = std::function<bool(std::size_t)>;

  // A page ends after the question that takes its counter past this.
  static constexpr int kPageCounterLimit = 45;
  // The heading is printed in pieces of at most this many characters.
  static constexpr int kHeadingPieceLength = 72;
  // A question this long or longer is split over two lines.
  static constexpr int kSplitLength = 70;
  static constexpr const char* kInstruction =
      "Write net ionic equations for the following reactions.  Do not balance.";

  // Reads the heading file; when it cannot be read, says so over view and lays out nothing.
  // The layout fits paper, the pages of the printer's paper as it stands (the job lays out again
  // if the print dialog changes it).
  TQuizPrint(const TReactionList& shownReactions, TIsSelected isSelected, QWidget* view,
             TPageLimits paper);

  // The limits of the pages of printer's paper as it stands.
  static TPageLimits PaperLimits(QPrinter& printer);

  // The limits of a page of the given size on device, in the font that pages are printed in.
  static TPageLimits PageLimits(QPaintDevice* device, const QSize& page);

  // The layout itself: heading (UTF-8) and questions (UTF-8) to lines and pages. Besides the
  // page counter, a page also ends before a block of lines that would pass limits.lines, and
  // no line is wider than limits.chars.
  static void Layout(const std::string& heading, const std::vector<std::string>& questions,
                     std::vector<TSentence>& lines, std::vector<TStart>& pages,
                     TPageLimits limits = TPageLimits());

  const std::vector<TSentence>& Lines() const { return lines; }
  const std::vector<TStart>& Pages() const { return pages; }
  int32_t PageCount() const { return pageCount; }

  void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
  void SetPrintParams(TDC& dc, const QRect& page, int firstPage) override;
  bool HasPage(int page) override;
  // Prints the next page of the job, whatever number it is given.
  void PrintPage(int page) override;

 private:
  void BuildPages();
  void LayOut(TPageLimits limits);

  const TReactionList& shownReactions;
  TIsSelected isSelected_;
  QWidget* view_;
  TPageLimits paper_;
  std::vector<TSentence> lines;
  std::vector<TStart> pages;
  int32_t pageCount = 1;
  int32_t nextPage = 1;
  std::string heading_;
  std::vector<std::string> questions_;
  TPageLimits limits_;
};
