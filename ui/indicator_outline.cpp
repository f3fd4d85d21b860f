#include "ui/indicator_outline.h"

#include <QAbstractButton>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "ui/mark_color.h"

void OutlineIndicator(QPainter& painter, const QRect& indicator, const QPalette& palette,
                      bool round) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, round);
  // A circle's smoothed edge never shows its whole colour: it is given a little more.
  constexpr double kRoundMargin = 1.2;
  painter.setPen(
      QPen(FrameColor(palette, round ? kMarkContrast * kRoundMargin : kMarkContrast), 1));
  painter.setBrush(Qt::NoBrush);
  if (round)
    painter.drawEllipse(QRectF(indicator).adjusted(0.5, 0.5, -0.5, -0.5));
  else
    painter.drawRect(indicator.adjusted(0, 0, -1, -1));
  painter.restore();
}

void OutlineIndicator(QAbstractButton& button) {
  const bool round = qobject_cast<QRadioButton*>(&button) != nullptr;
  QStyleOptionButton option;
  option.initFrom(&button);
  const QRect indicator = button.style()->subElementRect(
      round ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, &button);
  QPainter painter(&button);
  OutlineIndicator(painter, indicator, button.palette(), round);
}
