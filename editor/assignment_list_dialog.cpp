#include "editor/assignment_list_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>

#include "editor/assign_dialog.h"
#include "results/results_store.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr const char* kCaption = "Your Assignments";

}  // namespace

TAssignmentListDialog::TAssignmentListDialog(QWidget* parent, TResultsStore& store)
    : TDialog(parent, TemplateId::kTeacherAssignments),
      store_(store),
      list_(new QTreeWidget(this)) {
  list_->setObjectName(QStringLiteral("assignments"));
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Due"),
                          QStringLiteral("Questions"), QStringLiteral("Offered")});
  list_->setGeometry(MapDialogRect(QRect(8, 18, 304, 124)));
  Bind(kCmChange, &TAssignmentListDialog::CmChange);
  Bind(kCmWithdraw, &TAssignmentListDialog::CmWithdraw);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { EnableButtons(); });
  connect(list_, &QTreeWidget::itemActivated, this, [this] { Dispatch(kCmChange); });
}

void TAssignmentListDialog::SetupWindow() {
  TDialog::SetupWindow();
  qobject_cast<QLabel*>(Control(kWhere))
      ->setText(QStringLiteral("Assignments kept in %1:")
                    .arg(QString::fromStdString(store_.Location().Describe())));
  Fill();
  setTabOrder(list_, Button(kCmChange));
  list_->setFocus();
}

void TAssignmentListDialog::Fill() {
  assignments_ = store_.Assignments();
  std::reverse(assignments_.begin(), assignments_.end());
  list_->clear();
  for (const TAssignment& assignment : assignments_) {
    auto* row = new QTreeWidgetItem(
        list_, {QString::fromStdString(assignment.title), TAssignDialog::DueShown(assignment.due),
                QString::number(assignment.QuestionCount()),
                assignment.withdrawn ? QStringLiteral("withdrawn") : QStringLiteral("yes")});
    row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    if (assignment.withdrawn) row->setForeground(0, palette().brush(QPalette::PlaceholderText));
  }
  for (int column = 1; column < list_->columnCount(); ++column)
    list_->resizeColumnToContents(column);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setStretchLastSection(false);
  if (!assignments_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
  EnableButtons();
}

TAssignment* TAssignmentListDialog::Chosen() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  return row < 0 || row >= static_cast<int>(assignments_.size()) ? nullptr : &assignments_[row];
}

void TAssignmentListDialog::EnableButtons() {
  const TAssignment* chosen = Chosen();
  EnableButton(kCmChange, chosen != nullptr);
  EnableButton(kCmWithdraw, chosen && !chosen->withdrawn);
}

void TAssignmentListDialog::CmChange() {
  const TAssignment* chosen = Chosen();
  if (!chosen) return;
  TAssignmentDraft draft{chosen->title, chosen->due, chosen->shuffled};
  TAssignDialog dialog(this, &draft, chosen->QuestionCount(), true);
  if (dialog.Execute() != kOk) return;
  TAssignment changed = *chosen;
  changed.title = draft.title;
  changed.due = draft.due;
  Write(changed);
}

void TAssignmentListDialog::CmWithdraw() {
  const TAssignment* chosen = Chosen();
  if (!chosen || chosen->withdrawn) return;
  if (MessageBox(this,
                 "Withdraw \"" + chosen->title +
                     "\"? Your students will no longer be offered it. The answers already given "
                     "to it are kept, and the results still show them.",
                 kCaption, MbIcon::Question, MbButtons::YesNo) != IDYES)
    return;
  TAssignment changed = *chosen;
  changed.withdrawn = true;
  Write(changed);
}

void TAssignmentListDialog::Write(const TAssignment& changed) {
  if (!store_.WriteAssignment(changed))
    MessageBox(this,
               "The change to \"" + changed.title +
                   "\" was not kept: " + AsSentence(store_.ErrorInSentence()) +
                   " The list shows the assignments as the store holds them now.",
               kCaption, MbIcon::Exclamation, MbButtons::Ok, 0, store_.Details());
  const std::string id = changed.id;
  Fill();
  for (int row = 0; row < static_cast<int>(assignments_.size()); ++row)
    if (assignments_[row].id == id) list_->setCurrentItem(list_->topLevelItem(row));
}
