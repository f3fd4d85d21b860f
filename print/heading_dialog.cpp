#include "print/heading_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include "print/heading_file.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

THeadingDialog::THeadingDialog(QWidget* parent, std::string* buffer)
    : TDialog(parent, TemplateId::kHeading), buffer_(buffer) {}

QPlainTextEdit* THeadingDialog::HeadingEdit() const {
  return MultilineEdit(kHeadingEdit);
}

void THeadingDialog::SetupWindow() {
  TDialog::SetupWindow();
  QPlainTextEdit* edit = HeadingEdit();
  if (!edit) return;
  edit->setTabChangesFocus(true);
  edit->installEventFilter(this);
  // A heading longer than the box scrolls, so that every line of it can be seen and edited.
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  lengthStatic_ = AddStatic("", 0, 0, 0, 0);
  lengthStatic_->setGeometry(MapDialogRect(QRect(53, 62, 161, 9)));
  QString text = QString::fromStdString(*buffer_);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  edit->setPlainText(text.left(kMaxHeading));
  // The box's own breaks count too: what OK returns never passes 120 characters.
  while (FormattedText().size() > kMaxHeading) {
    QString shorter = edit->toPlainText();
    shorter.chop(1);
    edit->setPlainText(shorter);
  }
  accepted_ = edit->toPlainText();
  acceptedLines_ = static_cast<int>(WrappedLines().size());
  connect(edit, &QPlainTextEdit::textChanged, this, &THeadingDialog::KeepWithinBox);
  ShowLength();
  edit->setFocus();
}

int THeadingDialog::VisibleLines() const {
  const QPlainTextEdit* edit = HeadingEdit();
  const qreal margin = edit->document()->documentMargin();
  const int spacing = std::max(1, edit->fontMetrics().lineSpacing());
  return std::max(1, static_cast<int>((edit->viewport()->height() - 2 * margin) / spacing));
}

QStringList THeadingDialog::WrappedLines() const {
  const QPlainTextEdit* edit = HeadingEdit();
  const qreal width = edit->viewport()->width() - 2 * edit->document()->documentMargin();
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QStringList result;
  for (const QString& paragraph : edit->toPlainText().split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, edit->font());
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      lines << paragraph.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty()) lines << QString();
    // The blank at which a line wrapped becomes the line break.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
      if (lines[i].endsWith(QLatin1Char(' '))) lines[i].chop(1);
    result << lines;
  }
  return result;
}

QString THeadingDialog::FormattedText() const {
  return WrappedLines().join(QLatin1Char('\n'));
}

void THeadingDialog::KeepWithinBox() {
  if (restoring_) return;
  QPlainTextEdit* edit = HeadingEdit();
  const int lines = static_cast<int>(WrappedLines().size());
  // Only growth is refused: past the lines the box shows, or past 120 characters.
  if ((lines <= VisibleLines() || lines <= acceptedLines_) &&
      FormattedText().size() <= kMaxHeading) {
    accepted_ = edit->toPlainText();
    acceptedCursor_ = edit->textCursor().position();
    acceptedLines_ = lines;
    ShowLength();
    return;
  }
  restoring_ = true;
  edit->setPlainText(accepted_);
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(std::min(acceptedCursor_, static_cast<int>(accepted_.size())));
  edit->setTextCursor(cursor);
  restoring_ = false;
  QApplication::beep();
}

void THeadingDialog::ShowLength() {
  if (!lengthStatic_) return;
  lengthStatic_->setText(QStringLiteral("%1 of %2 characters, breaks included")
                             .arg(FormattedText().size())
                             .arg(kMaxHeading));
}

bool THeadingDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == HeadingEdit() && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (key->modifiers() & Qt::ControlModifier)
        HeadingEdit()->insertPlainText(QStringLiteral("\n"));
      else
        Dispatch(1);
      return true;
    }
  }
  return TDialog::eventFilter(watched, event);
}

void THeadingDialog::CmOk() {
  if (HeadingEdit()) *buffer_ = FormattedText().toStdString();
  CloseWindow(kOk);
}

bool THeadingDialog::EditHeadingFile(QWidget* owner) {
  std::string heading;
  if (!ReadHeadingFile(heading)) {
    MessageBox(owner, kHeadingUnreadable, "Warning", MbIcon::Exclamation);
    return false;
  }
  {
    THeadingDialog dialog(owner, &heading);
    if (dialog.Execute() != TDialog::kOk) return false;
  }
  std::string error;
  if (!WriteHeadingFile(heading, kHeadingFileName, &error)) {
    MessageBox(
        owner,
        kHeadingUnreadable + "\n\n" + error + ". The heading file keeps its previous contents.",
        "Warning", MbIcon::Exclamation);
    return false;
  }
  return true;
}
