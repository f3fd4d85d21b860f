#pragma once
#include <QColor>
#include <QFont>
#include <QObject>
#include <QStringList>
#include <vector>

class QAbstractBarSeries;
class QChart;
class QGraphicsSimpleTextItem;

// One value label for each category of a horizontal bar chart ("40% → 85%"), right of the
// longest of its bars. The series' own labels, one a bar, run into each other once the bars are
// thinner than a line of text, leave a bar of 0 without one, and are clipped at the plot area,
// where "100%" runs past its edge; these stand in a right margin made wide enough for them.
class TBarValueLabels : public QObject {
  Q_OBJECT

 public:
  // texts[category]; the labels belong to the chart, which deletes them with this.
  TBarValueLabels(QChart* chart, QAbstractBarSeries* series, const QStringList& texts,
                  const QFont& font, const QColor& color);

  const std::vector<QGraphicsSimpleTextItem*>& Items() const { return items_; }

 private:
  void Place();

  QChart* chart_;
  QAbstractBarSeries* series_;
  std::vector<QGraphicsSimpleTextItem*> items_;
};
