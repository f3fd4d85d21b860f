#include "editor/assign_dialog.h"

#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QTimeZone>

#include "ui/message_box.h"
#include "ui/radio_button.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr int kTitleLabel = 106;
constexpr int kDueLabel = 107;
constexpr int kOrderGroup = 108;

QDateTime FromIso(const std::string& iso) {
  return QDateTime::fromString(QString::fromStdString(iso), Qt::ISODate);
}

}  // namespace

TAssignDialog::TAssignDialog(QWidget* parent, TAssignmentDraft* draft, int questions, bool changing)
    : TDialog(parent, TemplateId::kAssign),
      draft_(draft),
      questions_(questions),
      changing_(changing),
      due_(new QDateTimeEdit(this)) {
  due_->setObjectName(QStringLiteral("due"));
  due_->setCalendarPopup(true);
  // Minutes are as fine as a due date goes.
  due_->setDisplayFormat(QStringLiteral("ddd d MMM yyyy  HH:mm"));
  due_->setGeometry(MapDialogRect(QRect(48, 26, 110, 12)));
  if (draft->practiceCount > 0) {
    count_ = new QSpinBox(this);
    count_->setObjectName(QStringLiteral("count"));
    count_->setRange(1, 50);
    count_->setSuffix(QStringLiteral(" questions"));
    count_->setAccessibleName(QStringLiteral("Questions for each student"));
    count_->setGeometry(MapDialogRect(QRect(16, 62, 80, 14)));
  }
}

QString TAssignDialog::DueShown(const std::string& iso) {
  const QDateTime due = FromIso(iso);
  if (!due.isValid()) return QString::fromStdString(iso);
  return QLocale().toString(due.toLocalTime(), QStringLiteral("ddd d MMM yyyy, HH:mm"));
}

void TAssignDialog::SetupWindow() {
  TDialog::SetupWindow();
  if (changing_) setWindowTitle(QStringLiteral("Change Assignment"));
  Edit(kTitle)->setText(QString::fromStdString(draft_->title));
  const QDateTime due = FromIso(draft_->due);
  due_->setDateTime(due.isValid() ? due.toLocalTime() : QDateTime::currentDateTime());
  if (auto* label = qobject_cast<QLabel*>(Control(kTitleLabel))) label->setBuddy(Edit(kTitle));
  if (auto* label = qobject_cast<QLabel*>(Control(kDueLabel))) label->setBuddy(due_);
  setTabOrder(Edit(kTitle), due_);
  setTabOrder(due_, RadioButton(kListed));
  if (count_) {
    // Each student's own questions: no order to choose, only how many.
    setWindowTitle(QStringLiteral("Assign Practice"));
    qobject_cast<QLabel*>(Control(kAbout))
        ->setText(QStringLiteral("Each student answers questions chosen from her own mistakes, "
                                 "as Practice... chooses them for her."));
    for (int id : {kListed, kShuffled}) RadioButton(id)->setVisible(false);
    if (auto* group = qobject_cast<QGroupBox*>(Control(kOrderGroup)))
      group->setTitle(QStringLiteral("Each student gets"));
    count_->setValue(draft_->practiceCount);
    setTabOrder(due_, count_);
    return;
  }
  RadioButton(kListed)->SetCheck(!draft_->shuffled);
  RadioButton(kShuffled)->SetCheck(draft_->shuffled);
  for (int id : {kListed, kShuffled}) RadioButton(id)->setEnabled(!changing_);
  const QString count = questions_ == 1 ? QStringLiteral("1 question")
                                        : QStringLiteral("%1 questions").arg(questions_);
  qobject_cast<QLabel*>(Control(kAbout))
      ->setText(changing_
                    ? QStringLiteral("It gives %1; they and their order stay as given.").arg(count)
                    : QStringLiteral("It gives the %1 ticked, as they are now.").arg(count));
}

void TAssignDialog::CmOk() {
  TAssignmentDraft draft;
  draft.title = Edit(kTitle)->text().toStdString();
  draft.due = due_->dateTime().toUTC().toString(Qt::ISODate).toStdString();
  draft.shuffled = !count_ && RadioButton(kShuffled)->GetCheck();
  draft.practiceCount = count_ ? count_->value() : 0;
  if (const std::string problem = DraftProblem(draft); !problem.empty()) {
    MessageBox(this, problem, changing_ ? "Change Assignment" : "Assign", MbIcon::Exclamation);
    return;
  }
  *draft_ = draft;
  CloseWindow(kOk);
}
