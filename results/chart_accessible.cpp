#include "results/chart_accessible.h"

#include <QPointer>
#include <QVariant>
#include <QtCharts/QChartView>

namespace {

const char* const kFiguresProperty = "accessibleFigures";

// One figure of a chart's table.
class TChartCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TChartCell(QChartView* view, int row, int column) : view_(view), row_(row), column_(column) {}

  bool isValid() const override { return view_ != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return view_ ? QAccessible::queryAccessibleInterface(view_) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    const QList<QStringList> figures =
        view_ ? TChartAccessible::Figures(view_) : QList<QStringList>();
    if (row_ + 1 >= figures.size()) return {};
    // The figure, and the series it belongs to for a reader that asks.
    const int line = t == QAccessible::Name ? row_ + 1 : t == QAccessible::Description ? 0 : -1;
    return line < 0 ? QString() : figures[line].value(column_);
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    return view_ ? QRect(view_->mapToGlobal(QPoint(0, 0)), view_->size()) : QRect();
  }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    state.invisible = !view_ || !view_->isVisible();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface
               ? static_cast<QAccessibleTableCellInterface*>(this)
               : nullptr;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  QPointer<QChartView> view_;
  int row_;
  int column_;
};

QAccessibleInterface* ChartAccessible(const QString&, QObject* object) {
  if (auto* view = qobject_cast<QChartView*>(object)) return new TChartAccessible(view);
  return nullptr;
}

}  // namespace

TChartAccessible::TChartAccessible(QChartView* view) : QAccessibleWidget(view) {}

TChartAccessible::~TChartAccessible() {
  for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
}

void TChartAccessible::Install() {
  static const bool installed = [] {
    QAccessible::installFactory(ChartAccessible);
    return true;
  }();
  (void)installed;
}

void TChartAccessible::SetChartFigures(QChartView* view, const QStringList& headers,
                                       const QList<QStringList>& rows) {
  QVariantList figures{headers};
  for (const QStringList& row : rows) figures << row;
  if (view->property(kFiguresProperty).toList() == figures) return;
  view->setProperty(kFiguresProperty, figures);
  QAccessibleTableModelChangeEvent changed(view, QAccessibleTableModelChangeEvent::ModelReset);
  QAccessible::updateAccessibility(&changed);
}

QList<QStringList> TChartAccessible::Figures(const QChartView* view) {
  QList<QStringList> figures;
  for (const QVariant& row : view->property(kFiguresProperty).toList())
    figures << row.toStringList();
  return figures;
}

QChartView* TChartAccessible::View() const {
  return static_cast<QChartView*>(widget());
}

void* TChartAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

int TChartAccessible::rowCount() const {
  return std::max<int>(0, static_cast<int>(Figures(View()).size()) - 1);
}

int TChartAccessible::columnCount() const {
  return static_cast<int>(Figures(View()).value(0).size());
}

QString TChartAccessible::columnDescription(int column) const {
  return Figures(View()).value(0).value(column);
}

QString TChartAccessible::rowDescription(int row) const {
  return Figures(View()).value(row + 1).value(0);
}

// The cells, row by row, are the table's children: a reader walking the tree reads them too.
int TChartAccessible::childCount() const {
  return rowCount() * columnCount();
}

QAccessibleInterface* TChartAccessible::child(int index) const {
  const int columns = columnCount();
  return columns > 0 ? cellAt(index / columns, index % columns) : nullptr;
}

int TChartAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const QAccessibleTableCellInterface* cell =
      child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
  return cell ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
}

QAccessibleInterface* TChartAccessible::cellAt(int row, int column) const {
  if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
  auto [place, made] = cells_.try_emplace({row, column}, 0);
  if (made)
    place->second = QAccessible::registerAccessibleInterface(new TChartCell(View(), row, column));
  return QAccessible::accessibleInterface(place->second);
}
