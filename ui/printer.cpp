#include "ui/printer.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <utility>

#include "ui/dc.h"
#include "ui/message_box.h"
#include "ui/printout.h"

namespace {

TPrinter::TDialogHandler& InstalledDialogHandler() {
  static TPrinter::TDialogHandler handler;
  return handler;
}

// Restores the cursor and re-enables the parent however the job ends.
class TJobGuard {
 public:
  explicit TJobGuard(QWidget* parent) : parent_(parent) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  void StartJob() {
    RestoreCursor();
    if (parent_) parent_->setEnabled(false);
    disabled_ = parent_ != nullptr;
  }
  ~TJobGuard() {
    RestoreCursor();
    if (disabled_) parent_->setEnabled(true);
  }
  void RestoreCursor() {
    if (cursor_) QApplication::restoreOverrideCursor();
    cursor_ = false;
  }

 private:
  QWidget* parent_;
  bool cursor_ = true;
  bool disabled_ = false;
};

}  // namespace

TPrinter::TPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter() = default;

TPrinter::TDialogHandler TPrinter::SetDialogHandler(TDialogHandler handler) {
  return std::exchange(InstalledDialogHandler(), std::move(handler));
}

bool TPrinter::RunDialog(QWidget* parent, int minPage, int maxPage) {
  if (const TDialogHandler& handler = InstalledDialogHandler())
    return handler(*printer_, minPage, maxPage, parent);
  QPrintDialog dialog(printer_.get(), parent);
  dialog.setMinMax(minPage, maxPage);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange);
  return dialog.exec() == QDialog::Accepted;
}

bool TPrinter::Print(QWidget* parent, TPrintout& printout, bool prompt) {
  error_.clear();
  TJobGuard guard(parent);
  int minPage = 0, maxPage = 0, fromPage = 0, toPage = 0;
  printout.GetDialogInfo(minPage, maxPage, fromPage, toPage);
  if (maxPage < 1) return false;
  // The dialog opens on the pages the printout selects.
  printer_->setFromTo(fromPage, toPage);
  printer_->setPrintRange(QPrinter::AllPages);
  printer_->setDocName(QString::fromStdString(printout.Title()));
  // Nobody should choose a printer under a busy cursor.
  guard.RestoreCursor();
  if (prompt && !RunDialog(parent, minPage, maxPage)) return false;
  if (printer_->printRange() == QPrinter::PageRange && printer_->fromPage() > 0) {
    fromPage = std::max(minPage, printer_->fromPage());
    toPage = std::min(maxPage, printer_->toPage());
  } else {
    fromPage = minPage;
    toPage = maxPage;
  }
  guard.StartJob();
  const bool ok = fromPage <= toPage && PrintJob(printout, fromPage, toPage);
  if (!ok) ReportError(parent);
  return ok;
}

bool TPrinter::PrintJob(TPrintout& printout, int fromPage, int toPage) {
  // Some devices make the copies themselves; for the others every copy is printed in turn.
  const int copies = printer_->supportsMultipleCopies() ? 1 : std::max(1, printer_->copyCount());
  QPainter painter;
  if (!painter.begin(printer_.get())) {
    error_ = "The printer could not be started.";
    return false;
  }
  TDC dc(painter);
  const QRect page = printer_->pageLayout().paintRectPixels(printer_->resolution());
  bool first = true;
  for (int copy = 0; copy < copies; ++copy) {
    printout.SetPrintParams(dc, QRect(QPoint(0, 0), page.size()), fromPage);
    printout.BeginDocument(fromPage, toPage);
    for (int p = fromPage; p <= toPage && printout.HasPage(p); ++p) {
      if (!first && !printer_->newPage()) {
        error_ = "The printer refused a new page.";
        painter.end();
        return false;
      }
      first = false;
      printout.PrintPage(p);
    }
    printout.EndDocument();
  }
  if (!painter.end()) {
    error_ = "The printer could not finish the document.";
    return false;
  }
  if (printer_->printerState() == QPrinter::Error) {
    error_ = "The printer reported an error.";
    return false;
  }
  return true;
}

void TPrinter::ReportError(QWidget* parent) {
  if (error_.empty()) error_ = "There was nothing to print in the pages chosen.";
  MessageBox(parent, "Printing failed. " + error_, "Warning", MbIcon::Exclamation);
}
