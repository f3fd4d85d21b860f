#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <QStyle>
#include <utility>

#include "ui/focus_ring.h"
#include "ui/glyph.h"

namespace {

void SetIcon(QMessageBox& box, MbIcon icon) {
  const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
  const qreal ratio = box.devicePixelRatioF();
  switch (icon) {
    case MbIcon::Exclamation:
      box.setIconPixmap(WarningPixmap(size, ratio));
      break;
    case MbIcon::Information:
      box.setIconPixmap(InformationPixmap(size, ratio));
      break;
    case MbIcon::Question:
      box.setIconPixmap(QuestionPixmap(size, ratio));
      break;
    case MbIcon::Success:
      box.setIconPixmap(SuccessPixmap(size, ratio));
      break;
  }
}

// The program's glyphs, as on its dialogs: the check on the button that agrees, the cross on
// the one that declines. Cancel beside No keeps none, so that the two do not look alike.
void SetGlyphs(QMessageBox& box) {
  const QMessageBox::StandardButtons buttons = box.standardButtons();
  auto glyph = [&box](QMessageBox::StandardButton which, int bitmapId) {
    if (QAbstractButton* button = box.button(which)) button->setIcon(GlyphIcon(bitmapId));
  };
  glyph(QMessageBox::Ok, kGlyphCheck);
  glyph(QMessageBox::Yes, kGlyphCheck);
  glyph(QMessageBox::No, kGlyphCross);
  if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
    cancel->setIcon(buttons & QMessageBox::No ? QIcon() : GlyphIcon(kGlyphCross));
}

QMessageBox::StandardButton StandardButtonOf(int code) {
  switch (code) {
    case IDOK:
      return QMessageBox::Ok;
    case IDCANCEL:
      return QMessageBox::Cancel;
    case IDYES:
      return QMessageBox::Yes;
    case IDNO:
      return QMessageBox::No;
    default:
      return QMessageBox::NoButton;
  }
}

int ShowQtMessageBox(const TMessageBoxRequest& request) {
  std::unique_ptr<QMessageBox> box = MakeMessageBox(request);
  switch (box->exec()) {
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

std::unique_ptr<QMessageBox> MakeMessageBox(const TMessageBoxRequest& request) {
  // An owner not on the screen yet (a view still being built) would put the box in the corner
  // where that window will later stand; without one Qt centres it on the screen.
  QWidget* owner = request.owner && request.owner->window()->isVisible() ? request.owner : nullptr;
  auto box = std::make_unique<QMessageBox>(owner);
  // Like a dialog, it blocks the windows it belongs to and leaves the help viewer readable.
  if (owner) box->setWindowModality(Qt::WindowModal);
  box->setWindowTitle(QString::fromStdString(request.caption));
  box->setText(QString::fromStdString(request.text));
  SetIcon(*box, request.icon);
  switch (request.buttons) {
    case MbButtons::Ok:
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case MbButtons::YesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setEscapeButton(QMessageBox::No);
      break;
    case MbButtons::YesNoCancel:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  SetGlyphs(*box);
  if (request.defaultButton) box->setDefaultButton(StandardButtonOf(request.defaultButton));
  if (!request.details.empty()) box->setDetailedText(QString::fromStdString(request.details));
  auto* ring = new TFocusRing(box.get());
  for (QAbstractButton* button : box->buttons()) ring->Watch(button);
  return box;
}

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
               MbButtons buttons, int defaultButton, const std::string& details) {
  TMessageBoxRequest request{owner, text, caption, icon, buttons, defaultButton, details};
  // Copy first: the handler may replace itself while it runs.
  TMessageBoxHandler handler = InstalledMessageHandler();
  return handler ? handler(request) : ShowQtMessageBox(request);
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  return std::exchange(InstalledMessageHandler(), std::move(handler));
}
