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

class QWidget;
class TPrinter;

// A paper quiz: the heading, the instruction, and each selected question numbered, with room
// below it for the answer. Every line and page is laid out when the printout is made.
class TQuizPrint : public TPrintout {
 public:
  // Whether listed reaction k is selected (its check box is ticked).
  using TIsSelected = std::function<bool(std::size_t)>;

  static constexpr int kLinesPerPageCount = 45;
  static constexpr int kHeadingPiece = 72;
  static constexpr int kOneLineQuestion = 70;
  static constexpr const char* kInstruction =
      "Write net ionic equations for the following reactions.  Do not balance.";

  // Reads the heading file; when it cannot be read, says so over view and lays out nothing.
  TQuizPrint(const TReactionList& shownReactions, TIsSelected isSelected, QWidget* view,
             TPrinter& printer);

  // The layout itself: heading (UTF-8) and questions (UTF-8) to lines and pages.
  static void Layout(const std::string& heading, const std::vector<std::string>& questions,
                     std::vector<TSentence>& lines, std::vector<TStart>& pages);

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

  const TReactionList& shownReactions;
  TIsSelected isSelected;
  QWidget* view;
  TPrinter& printer;
  std::vector<TSentence> lines;
  std::vector<TStart> pages;
  int32_t pageCount = 1;
  int32_t nextPage = 1;
  int lineHeight = 0;
};
