#pragma once
#include <QRect>
#include <string>

class TDC;

// A document to print: answers the page range, says whether a page is left, and prints one
// page on the printer's device context. The printer asks; the printout never drives the job.
class TPrintout {
 public:
  explicit TPrintout(std::string title) : title_(std::move(title)) {}
  virtual ~TPrintout() = default;

  // The document's name for the print queue.
  const std::string& Title() const { return title_; }

  // The pages there are and those selected at first; all 0 when there is nothing to print.
  virtual void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) {
    minPage = maxPage = selFromPage = selToPage = 1;
  }
  // The device context and the printable page (device pixels) of the job, and the first page
  // that will be printed.
  virtual void SetPrintParams(TDC& dc, const QRect& page, int firstPage) {
    dc_ = &dc;
    page_ = page;
    (void)firstPage;
  }
  virtual bool HasPage(int page) { return page == 1; }
  virtual void BeginDocument(int /*fromPage*/, int /*toPage*/) {}
  virtual void PrintPage(int page) = 0;
  virtual void EndDocument() {}

 protected:
  TDC* DC() const { return dc_; }
  const QRect& PageRect() const { return page_; }

 private:
  std::string title_;
  TDC* dc_ = nullptr;
  QRect page_;
};
