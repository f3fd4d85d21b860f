#pragma once
#include <QAccessibleWidget>
#include <QList>
#include <QStringList>
#include <map>
#include <utility>

class QChartView;

// What a screen reader is told of a chart: a table to walk, a row per bar's name, a column per
// series, each cell the figure as the chart's labels give it. The chart view carries the table
// (SetChartFigures); the cells read it when asked, so that they never tell an old figure.
class TChartAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TChartAccessible(QChartView* view);
  ~TChartAccessible() override;

  // Makes every chart view answer with this interface; once is enough, more are harmless.
  static void Install();
  // Gives the view the figures it shows, headers first, and tells readers they changed.
  static void SetChartFigures(QChartView* view, const QStringList& headers,
                              const QList<QStringList>& rows);
  // The view's figures, headers first; empty before any were given.
  static QList<QStringList> Figures(const QChartView* view);

  QAccessible::Role role() const override { return QAccessible::Table; }
  void* interface_cast(QAccessible::InterfaceType type) override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int columnCount() const override;
  int rowCount() const override;
  // Nothing in a chart is selected.
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  QChartView* View() const;

  // The cells made so far, by row and column; each lives as long as the table's interface.
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};
