#include "editor/assign_dialog.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimeZone>

#include "ui/message_box.h"
#include "ui/radio_button.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr int kTitleLabel = 106;
constexpr int kDueLabel = 107;

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
  draft.shuffled = RadioButton(kShuffled)->GetCheck();
  if (const std::string problem = DraftProblem(draft); !problem.empty()) {
    MessageBox(this, problem, changing_ ? "Change Assignment" : "Assign", MbIcon::Exclamation);
    return;
  }
  *draft_ = draft;
  CloseWindow(kOk);
}
