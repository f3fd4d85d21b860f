#include "results/bar_value_labels.h"

#include <QFontMetrics>
#include <QGraphicsSimpleTextItem>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <algorithm>

TBarValueLabels::TBarValueLabels(QChart* chart, QAbstractBarSeries* series,
                                 const QStringList& texts, const QFont& font, const QColor& color)
    : QObject(chart), chart_(chart), series_(series) {
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const QString& text : texts) {
    auto* item = new QGraphicsSimpleTextItem(text, chart);
    item->setFont(font);
    item->setBrush(color);
    items_.push_back(item);
    widest = std::max(widest, metrics.horizontalAdvance(text));
  }
  QMargins margins = chart->margins();
  margins.setRight(margins.right() + widest + metrics.averageCharWidth());
  chart->setMargins(margins);
  connect(chart, &QChart::plotAreaChanged, this, &TBarValueLabels::Place);
  Place();
}

void TBarValueLabels::Place() {
  const QList<QBarSet*> sets = series_->barSets();
  for (std::size_t category = 0; category < items_.size(); ++category) {
    const int index = static_cast<int>(category);
    qreal longest = 0;
    for (const QBarSet* set : sets)
      if (index < set->count()) longest = std::max(longest, set->at(index));
    // The bars of a category are centred on its value on the category axis.
    const QPointF end = chart_->mapToPosition(QPointF(longest, index), series_);
    QGraphicsSimpleTextItem* label = items_[category];
    label->setPos(end.x() + QFontMetrics(label->font()).averageCharWidth() / 2.0,
                  end.y() - label->boundingRect().height() / 2);
  }
}
