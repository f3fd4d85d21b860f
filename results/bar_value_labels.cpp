#include "results/bar_value_labels.h"

#include <QFontMetrics>
#include <QGraphicsSimpleTextItem>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <algorithm>

TBarValueLabels::TBarValueLabels(QChart* chart, QAbstractBarSeries* series,
                                 const std::vector<QStringList>& texts, const QFont& font,
                                 const QColor& color)
    : QObject(chart), chart_(chart), series_(series), sets_(static_cast<int>(texts.size())) {
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const QStringList& set : texts)
    for (const QString& text : set) {
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
  if (sets.size() != sets_) return;
  // Where the series puts bar set s of n in category c: its share of the bar width, which is
  // centred on the category.
  const qreal width = series_->barWidth();
  std::size_t item = 0;
  for (int s = 0; s < sets_; ++s) {
    for (int c = 0; c < sets[s]->count() && item < items_.size(); ++c, ++item) {
      const qreal middle = c - width / 2 + (s + 0.5) * width / sets_;
      const QPointF end = chart_->mapToPosition(QPointF(sets[s]->at(c), middle), series_);
      QGraphicsSimpleTextItem* label = items_[item];
      const QRectF box = label->boundingRect();
      label->setPos(end.x() + QFontMetrics(label->font()).averageCharWidth() / 2.0,
                    end.y() - box.height() / 2);
    }
  }
}
