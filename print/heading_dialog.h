#pragma once
#include <QString>
#include <string>

#include "ui/dialog.h"

class QLabel;
class QPlainTextEdit;

// "Edit Quiz Heading": the heading in a box of a few wrapped lines that grows no further than
// it shows and at most 120 characters, line breaks included. A longer heading from a file of the
// teacher's own scrolls, and every change that does not make it longer is taken, so each line
// can be edited. Enter presses OK and Ctrl+Enter types a line break. OK returns the text with a
// line break wherever the box wrapped a line, so the heading keeps on paper the lines the
// teacher saw.
class THeadingDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kHeadingEdit = 101;

  // buffer holds the heading (UTF-8) on opening and receives it on OK.
  THeadingDialog(QWidget* parent, std::string* buffer);

  QPlainTextEdit* HeadingEdit() const;
  // The box's text with its soft line breaks, as OK returns it.
  QString FormattedText() const;
  // How many lines the box shows.
  int VisibleLines() const;
  // "57 of 120 characters, breaks included", kept up to date below the box.
  QLabel* LengthStatic() const { return lengthStatic_; }

  // The heading step of printing: reads the heading file, lets the teacher edit it and saves
  // it. False, after saying why over owner, when printing should not go on.
  static bool EditHeadingFile(QWidget* owner);

 protected:
  void SetupWindow() override;
  void CmOk() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QStringList WrappedLines() const;
  void KeepWithinBox();
  void ShowLength();

  std::string* buffer_;
  QString accepted_;
  int acceptedCursor_ = 0;
  int acceptedLines_ = 0;
  QLabel* lengthStatic_ = nullptr;
  bool restoring_ = false;
};
