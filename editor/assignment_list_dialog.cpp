#include "editor/assignment_list_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>

#include "editor/assign_dialog.h"
#include "results/progress_run.h"
#include "results/results_store.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr const char* kCaption = "Your Assignments";

}  // namespace

bool TClassStore::Use(QWidget* owner, const std::function<void(TResultsStore&)>& work) {
  return TProgressRun::Run(
      owner,
      location_.server ? "Connecting to the class server..." : "Opening the shared results file...",
      0, [&](const TProgressRun::TReport&) {
        TResultsStore store;
        open_ = store.Open(location_);
        if (open_ && work) work(store);
        readOnly_ = store.IsReadOnly();
        seesEveryone_ = store.SeesEveryone();
        login_ = store.Login();
        error_ = store.Error();
        errorInSentence_ = store.ErrorInSentence();
        details_ = store.Details();
      });
}

TAssignmentListDialog::TAssignmentListDialog(QWidget* parent, TClassStore& store,
                                             std::vector<TAssignment> assignments)
    : TDialog(parent, TemplateId::kTeacherAssignments),
      store_(store),
      assignments_(std::move(assignments)),
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
  Fill(std::move(assignments_));
  setTabOrder(list_, Button(kCmChange));
  list_->setFocus();
}

void TAssignmentListDialog::Fill(std::vector<TAssignment> assignments) {
  assignments_ = std::move(assignments);
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
  // Written whether or not the teacher cancels the wait: what happened is told either way.
  bool written = false;
  std::string why, details;
  std::vector<TAssignment> now;
  store_.Use(this, [&](TResultsStore& store) {
    written = store.WriteAssignment(changed);
    why = store.ErrorInSentence();
    details = store.Details();
    now = store.Assignments();
  });
  if (!store_.IsOpen()) {
    why = store_.ErrorInSentence();
    details = store_.Details();
  }
  if (!written)
    MessageBox(this,
               "The change to \"" + changed.title + "\" was not kept: " + AsSentence(why) +
                   " The list shows the assignments as the store holds them now.",
               kCaption, MbIcon::Exclamation, MbButtons::Ok, 0, details);
  const std::string id = changed.id;
  Fill(std::move(now));
  for (int row = 0; row < static_cast<int>(assignments_.size()); ++row)
    if (assignments_[row].id == id) list_->setCurrentItem(list_->topLevelItem(row));
}
