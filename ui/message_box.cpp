#include "ui/message_box.h"

#include <QMessageBox>
#include <QString>
#include <utility>

namespace {

int ShowQtMessageBox(const TMessageBoxRequest& request) {
  // An owner not on the screen yet (a view still being built) would put the box in the corner
  // where that window will later stand; without one Qt centres it on the screen.
  QWidget* owner = request.owner && request.owner->window()->isVisible() ? request.owner : nullptr;
  QMessageBox box(owner);
  // Like a dialog, it blocks the windows it belongs to and leaves the help viewer readable.
  if (owner) box.setWindowModality(Qt::WindowModal);
  box.setWindowTitle(QString::fromStdString(request.caption));
  box.setText(QString::fromStdString(request.text));
  switch (request.icon) {
    case MbIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MbIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MbIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (request.buttons) {
    case MbButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MbButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
    case MbButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return IDOK;
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    default:
      return DismissedAnswer(request.buttons);
  }
}

TMessageBoxHandler& InstalledMessageHandler() {
  static TMessageBoxHandler handler;
  return handler;
}

}  // namespace

int DismissedAnswer(MbButtons buttons) {
  switch (buttons) {
    case MbButtons::Ok:
      return IDOK;
    case MbButtons::YesNo:
      return IDNO;
    case MbButtons::YesNoCancel:
      return IDCANCEL;
  }
  return IDCANCEL;
}

int MessageBox(QWidget* owner, const std::string& text, const std::string& caption, MbIcon icon,
               MbButtons buttons) {
  TMessageBoxRequest request{owner, text, caption, icon, buttons};
  // Copy first: the handler may replace itself while it runs.
  TMessageBoxHandler handler = InstalledMessageHandler();
  return handler ? handler(request) : ShowQtMessageBox(request);
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  return std::exchange(InstalledMessageHandler(), std::move(handler));
}
