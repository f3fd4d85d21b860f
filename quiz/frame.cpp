#include "quiz/frame.h"

#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "coach/check_answer.h"
#include "editor/react_window.h"
#include "quiz/quiz_window.h"
#include "ui/application.h"
#include "ui/help_topic.h"
#include "ui/help_viewer.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

namespace {

constexpr const char* kCaption = "Writing Tarvolin Equations";

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  QPainterPath flask;
  flask.moveTo(12, 3);
  flask.lineTo(20, 3);
  flask.lineTo(20, 12);
  flask.lineTo(29, 28);
  flask.quadTo(30, 30, 27, 30);
  flask.lineTo(5, 30);
  flask.quadTo(2, 30, 3, 28);
  flask.lineTo(12, 12);
  flask.closeSubpath();
  painter.setPen(QPen(QColor(8, 24, 56), 1.6));
  painter.setBrush(QColor(230, 240, 255));
  painter.drawPath(flask);
  QPainterPath liquid;
  liquid.moveTo(8.5, 20);
  liquid.lineTo(23.5, 20);
  liquid.lineTo(28, 28);
  liquid.quadTo(28.5, 29, 27, 29);
  liquid.lineTo(5, 29);
  liquid.quadTo(3.5, 29, 4, 28);
  liquid.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(24, 64, 128));
  painter.drawPath(liquid);
  QFont font = painter.font();
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(230, 190, 60));
  painter.drawText(QRectF(4, 19, 24, 11), Qt::AlignCenter, QStringLiteral("T"));
  return pixmap;
}

}  // namespace

TFrame::TFrame(QWidget* parent)
    : TFrameWindow(parent, kCaption),
      editorView_(new TReactWindow(this)),
      quizView_(new TQuizWindow(this, &CheckAnswer)) {
  AssignMenu(MenuId::kQuiz);
  // Until the frame is set up the views are hidden children; the quiz view then becomes the
  // client.
  editorView_->hide();
  quizView_->hide();
  setGeometry(quizView_->geometry());
  Bind(kCmExit, &TFrame::CmExit);
  Bind(kCmEditReactions, &TFrame::CmEditReactions);
  Bind(kCmStartReactions, &TFrame::CmStartReactions);
  Bind(kCmHelpIndex, &TFrame::CmHelpIndex);
  Bind(kCmHelpOnHelp, &TFrame::CmHelpOnHelp);
  connect(editorView_, &TReactWindow::BookStateChanged, this, &TFrame::UpdateCaption);
  UpdateCaption();
}

void TFrame::UpdateCaption() {
  const TReactionBook& book = editorView_->Book();
  std::string caption = kCaption;
  if (book.State() == TReactionBook::ReadState::Unreadable)
    caption += " - " + book.Path() + " cannot be read";
  else if (book.Unsaved())
    caption += " - " + book.Path() + " not saved";
  setWindowTitle(QString::fromStdString(caption));
}

QIcon TFrame::Icon() {
  QIcon icon;
  // Drawn at every size a desktop asks for, twice over for a device pixel ratio of 2, so that
  // no size is scaled up from a smaller one and blurred.
  for (int size : {16, 24, 32, 48, 64, 96, 128, 256}) icon.addPixmap(DrawIcon(size));
  return icon;
}

void TFrame::SetupWindow() {
  SetClientWindow(quizView_);
  // What a student does first is Start: Space or Enter begins, with no mouse.
  quizView_->StartButton()->setAutoDefault(true);
  quizView_->StartButton()->setFocus();
}

bool TFrame::CanClose() {
  if (!editorView_->MaybeSave(false)) return false;
  if (helpIndexOpened_) WinHelp(kProgramHelpFile, HELP_QUIT);
  if (helpOnHelpOpened_) WinHelp(kHelpOnHelpFile, HELP_QUIT);
  return true;
}

void TFrame::CmExit() {
  if (!editorView_->MaybeSave(false)) return;
  TApplication::QuitWithCode(0);
}

void TFrame::CmEditReactions() {
  AssignMenu(MenuId::kEditor);
  quizView_->hide();
  SetClientWindow(editorView_);
  editorView_->EnterEditorMode();
  editorView_->setFocus();
}

void TFrame::CmStartReactions() {
  if (!editorView_->MaybeSave(true)) return;
  AssignMenu(MenuId::kQuiz);
  editorView_->hide();
  SetClientWindow(quizView_);
  quizView_->StartButton()->setFocus();
  // The quiz view keeps the reactions it read at start-up.
  MessageBox(this,
             "For your changes to the reaction list to take effect you must exit the program and "
             "then restart it.",
             "Information", MbIcon::Information);
}

void TFrame::CmHelpIndex() {
  // Whether the viewer found the file or not, it is open now and must be closed at the end.
  WinHelp(kProgramHelpFile, HELP_INDEX, {}, this);
  helpIndexOpened_ = true;
}

void TFrame::CmHelpOnHelp() {
  WinHelp(kHelpOnHelpFile, HELP_INDEX, {}, this);
  helpOnHelpOpened_ = true;
}
