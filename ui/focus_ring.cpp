#include "ui/focus_ring.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include "ui/mark_color.h"

void TFocusRing::Watch(QWidget* control) {
  if (control) control->installEventFilter(this);
}

bool TFocusRing::eventFilter(QObject* watched, QEvent* event) {
  auto* control = qobject_cast<QWidget*>(watched);
  if (!control) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      control->update();
      return false;
    case QEvent::Paint: {
      if (painting_ || !control->hasFocus()) return false;
      // The control paints first, through its own handler; the ring goes over it.
      painting_ = true;
      static_cast<QObject*>(control)->event(event);
      painting_ = false;
      PaintRing(*control);
      return true;
    }
    default:
      return false;
  }
}

void TFocusRing::PaintRing(QWidget& control) {
  QRect ring = control.rect().adjusted(kInset, kInset, -kInset, -kInset);
  // A text box is ringed on its frame, clear of the text inside.
  if (qobject_cast<QLineEdit*>(&control) || qobject_cast<QAbstractScrollArea*>(&control))
    ring = control.rect();
  // A check box or radio button is ringed round its label, clear of its mark.
  if (auto* button = qobject_cast<QAbstractButton*>(&control);
      button && (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))) {
    QStyleOptionButton option;
    option.initFrom(button);
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    const QRect label = control.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
    const int textWidth =
        button->fontMetrics().horizontalAdvance(QString(button->text()).remove(QLatin1Char('&')));
    // The label's room, and a pixel or two more, on either side of its text.
    constexpr int kSide = 2 + kWidth;
    ring = QRect(label.left() - kSide, 0, textWidth + 2 * kSide, control.height()) & control.rect();
  }
  QPainter painter(&control);
  painter.setRenderHint(QPainter::Antialiasing);
  QPen pen(FocusColor(control.palette()), kWidth);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  // The pen straddles the path: inset by half its width it stays inside ring.
  const qreal half = kWidth / 2.0;
  painter.drawRoundedRect(QRectF(ring).adjusted(half, half, -half, -half), 2, 2);
}
