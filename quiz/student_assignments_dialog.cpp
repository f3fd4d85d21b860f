#include "quiz/student_assignments_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>

#include "editor/assign_dialog.h"
#include "results/assignment_progress.h"
#include "results/kept_assignments.h"
#include "ui/resources/resource_ids.h"

TStudentAssignmentsDialog::TStudentAssignmentsDialog(QWidget* parent, const TKeptAssignments& kept,
                                                     std::string student, std::string where)
    : TDialog(parent, TemplateId::kStudentAssignments),
      kept_(kept),
      student_(std::move(student)),
      where_(std::move(where)),
      list_(new QTreeWidget(this)) {
  list_->setObjectName(QStringLiteral("assignments"));
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Due"),
                          QStringLiteral("Questions"), QStringLiteral("Yours")});
  list_->setGeometry(MapDialogRect(QRect(8, 28, 304, 114)));
  connect(list_, &QTreeWidget::itemActivated, this, [this] { Dispatch(kOk); });
  connect(list_, &QTreeWidget::currentItemChanged, this,
          [this] { EnableButton(kOk, list_->currentItem() != nullptr); });
}

void TStudentAssignmentsDialog::SetupWindow() {
  TDialog::SetupWindow();
  auto* where = qobject_cast<QLabel*>(Control(kWhere));
  where->setWordWrap(true);
  // Withdrawn ones are offered no more; practice given as homework is, and Start plans it.
  for (const TAssignment& assignment : kept_.List())
    if (!assignment.withdrawn) shown_.push_back(&assignment);
  std::stable_sort(shown_.begin(), shown_.end(),
                   [](const TAssignment* a, const TAssignment* b) { return a->due < b->due; });
  for (const TAssignment* assignment : shown_) {
    const TAssignmentProgress progress =
        ProgressOf(*assignment, kept_.AnswersOf(assignment->id, student_));
    auto* row = new QTreeWidgetItem(
        list_, {QString::fromStdString(assignment->title), TAssignDialog::DueShown(assignment->due),
                QString::number(assignment->QuestionCount()),
                QString::fromStdString(ProgressText(progress, false))});
    row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  where->setText(
      QString::fromStdString(shown_.empty() ? where_ + " No assignment is open for you." : where_));
  // A store away takes three lines or more to tell: the list makes room.
  const int needed = where->heightForWidth(where->width());
  GrowDownFrom(where->geometry().bottom() + 1, needed - where->height());
  where->resize(where->width(), std::max(needed, where->height()));
  for (int column = 1; column < list_->columnCount(); ++column)
    list_->resizeColumnToContents(column);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setStretchLastSection(false);
  if (!shown_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
  EnableButton(kOk, !shown_.empty());
  setTabOrder(list_, Button(kOk));
  list_->setFocus();
}

void TStudentAssignmentsDialog::CmOk() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0 || row >= static_cast<int>(shown_.size())) return;
  chosen_ = shown_[row]->id;
  CloseWindow(kOk);
}

std::vector<std::vector<std::string>> TStudentAssignmentsDialog::Rows() const {
  std::vector<std::vector<std::string>> rows;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    rows.emplace_back();
    for (int column = 0; column < list_->columnCount(); ++column)
      rows.back().push_back(list_->topLevelItem(row)->text(column).toStdString());
  }
  return rows;
}
