#pragma once
#include <QColor>
#include <QFont>
#include <QObject>
#include <QStringList>
#include <vector>

class QAbstractBarSeries;
class QChart;
class QGraphicsSimpleTextItem;

// Value labels at the end of the bars of a horizontal bar chart. The series' own labels leave
// a bar of 0 without one and are clipped at the plot area, where "100%" runs past its edge;
// these stand right of each bar, in a right margin made wide enough for the longest of them.
class TBarValueLabels : public QObject {
  Q_OBJECT

 public:
  // texts[set][category]; the labels belong to the chart, which deletes them with this.
  TBarValueLabels(QChart* chart, QAbstractBarSeries* series,
                  const std::vector<QStringList>& texts, const QFont& font, const QColor& color);

  // Every label, set by set.
  const std::vector<QGraphicsSimpleTextItem*>& Items() const { return items_; }

 private:
  void Place();

  QChart* chart_;
  QAbstractBarSeries* series_;
  std::vector<QGraphicsSimpleTextItem*> items_;
  int sets_ = 0;
};
