#pragma once
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>

class QWidget;
class TPrintout;

// A printer: runs print jobs of printouts through the print dialog (which also offers printing
// to a PDF file) and the chosen printer.
class TPrinter {
 public:
  TPrinter();
  virtual ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // Prints printout, owned by parent's window; with prompt the print dialog comes first. False
  // when nothing was printed: the dialog cancelled, nothing to print, or an error (reported).
  virtual bool Print(QWidget* parent, TPrintout& printout, bool prompt);

  QPrinter& Device() { return *printer_; }
  // The last job's error, empty when it went well.
  const std::string& Error() const { return error_; }

  // The seam behind the print dialog: answers whether to print, having set the printer's
  // output and page range as a user would. An empty handler restores the real dialog.
  // Returns the handler installed before.
  using TDialogHandler = std::function<bool(QPrinter&, int minPage, int maxPage, QWidget*)>;
  static TDialogHandler SetDialogHandler(TDialogHandler handler);

 protected:
  // Tells the user why a job failed.
  virtual void ReportError(QWidget* parent);

 private:
  bool RunDialog(QWidget* parent, int minPage, int maxPage);
  bool PrintJob(TPrintout& printout, int fromPage, int toPage);

  std::unique_ptr<QPrinter> printer_;
  std::string error_;
};
