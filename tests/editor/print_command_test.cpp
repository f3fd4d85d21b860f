// Print Quiz from the editor: the confirmation, the heading step and its dialog, the marks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <filesystem>

#include "print/heading_dialog.h"
#include "print/heading_file.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/driver.h"
#include "ui/printer.h"

namespace {

constexpr const char* kConfirm =
    "Make sure the questions you want to put on the quiz have a check mark to the left. Use the "
    "mouse to check the boxes. Do you want to continue printing ?";

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers);
  QCoreApplication::sendEvent(widget, &event);
}

class PrintCommandTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    std::vector<std::unique_ptr<TReaction>> list;
    list.push_back(R("First.", 0));
    list.push_back(R("Second.", 1));
    Write(std::move(list));
    TPrinter::SetDialogHandler([this](QPrinter&, int, int maxPage, QWidget*) {
      dialogPages_.push_back(maxPage);
      return false;  // cancelled
    });
  }
  void TearDown() override {
    TPrinter::SetDialogHandler({});
    EditorFixture::TearDown();
  }
  std::vector<int> dialogPages_;
  TDriver driver_;
};

TEST_F(PrintCommandTest, EachWayOutLeavesTheHeadingAndTheMarksAsTheyShouldBe) {
  { std::ofstream("tarvolin.hed") << "Old heading"; }
  auto view = MakeView();
  // Nothing ticked: said so, and nothing else happens.
  driver_.ExpectMessage(
      "No question is ticked, so there is nothing to print. Tick the check box of each question "
      "you want on the quiz (click it, or move to it with Up and Down and press Space), then "
      "choose Print Quiz again.",
      "Information");
  view->Dispatch(TReactWindow::kCmPrintQuiz);
  view->CheckBox(1)->SetCheck(true);

  // No: nothing shown, nothing touched.
  driver_.ExpectMessage(kConfirm, "Information").WithButtons(MbButtons::YesNo).Answer(IDNO);
  view->Dispatch(TReactWindow::kCmPrintQuiz);
  // Cancel in the heading dialog: the file stays byte for byte, nothing printed.
  driver_.ExpectMessage(kConfirm, "Information").Answer(IDYES);
  driver_.ExpectDialog<THeadingDialog>()
      .Do([](THeadingDialog& d) { d.HeadingEdit()->setPlainText("New heading"); })
      .Press(2);
  view->Dispatch(TReactWindow::kCmPrintQuiz);
  EXPECT_EQ(ReadWholeFile("tarvolin.hed"), "Old heading");
  EXPECT_TRUE(dialogPages_.empty());
  // OK: the heading is saved, then the print dialog comes up (and is cancelled here).
  driver_.ExpectMessage(kConfirm, "Information").Answer(IDYES);
  driver_.ExpectDialog<THeadingDialog>()
      .Check([](THeadingDialog& d) { EXPECT_EQ(d.HeadingEdit()->toPlainText(), "Old heading"); })
      .Do([](THeadingDialog& d) { d.HeadingEdit()->setPlainText("New heading"); })
      .Press(1);
  view->Dispatch(TReactWindow::kCmPrintQuiz);
  EXPECT_EQ(ReadWholeFile("tarvolin.hed"), "New heading");
  EXPECT_EQ(dialogPages_, std::vector<int>{1});
  EXPECT_EQ(Marked(*view), std::vector<std::string>{"Second."});

  // A missing heading file: the warning, and no dialog.
  std::remove("tarvolin.hed");
  driver_.ExpectMessage(kConfirm, "Information").Answer(IDYES);
  driver_.ExpectMessage("Unable to open tarvolin.hed", "Warning");
  view->Dispatch(TReactWindow::kCmPrintQuiz);
  EXPECT_FALSE(std::filesystem::exists("tarvolin.hed"));
  EXPECT_EQ(dialogPages_.size(), 1u);
  driver_.Verify();
}

TEST_F(PrintCommandTest, TheHeadingDialogWrapsLimitsAndTakesEnterAsOk) {
  std::string buffer = "Quiz";
  THeadingDialog dialog(nullptr, &buffer);
  dialog.show();
  dialog.Create();
  QPlainTextEdit* edit = dialog.HeadingEdit();
  ASSERT_GE(dialog.VisibleLines(), 2);

  // Ctrl+Enter types a line break.
  edit->moveCursor(QTextCursor::End);
  Key(edit, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(edit->toPlainText(), "Quiz\n");
  EXPECT_FALSE(dialog.IsClosed());

  // A long line comes back broken where the box wrapped it, the blank there becoming the break.
  edit->setPlainText("");
  const QString words = QStringLiteral("word ").repeated(20).trimmed();  // 99 characters
  edit->insertPlainText(words);
  ASSERT_EQ(edit->toPlainText(), words);
  const QString formatted = dialog.FormattedText();
  EXPECT_GE(formatted.count('\n'), 1);
  EXPECT_EQ(QString(formatted).replace('\n', ' '), words);

  // Nothing past 120 characters, nor past what the box shows, is taken.
  const QString before = edit->toPlainText();
  edit->insertPlainText(QStringLiteral("x").repeated(30));
  EXPECT_EQ(edit->toPlainText(), before);
  EXPECT_LE(dialog.FormattedText().size(), kMaxHeading);

  // Enter presses OK, which returns the text with its soft breaks.
  Key(edit, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), 1);
  EXPECT_EQ(buffer, formatted.toStdString());
}

TEST(HeadingFile, WritesWholeOrNotAtAllAndReadsOldSingleByteFiles) {
  TWorkingFolder folder;
  const std::string path = folder.FilePath("tarvolin.hed");
  { std::ofstream(path, std::ios::binary) << "Caf\xE9 quiz"; }
  std::string text;
  ASSERT_TRUE(ReadHeadingFile(text, path));
  EXPECT_EQ(text, "Caf\xC3\xA9 quiz");
  ASSERT_TRUE(WriteHeadingFile("Line 1\nLine 2", path));
  ASSERT_TRUE(ReadHeadingFile(text, path));
  EXPECT_EQ(text, "Line 1\nLine 2");
  // A folder that cannot take the new file: the old one stays and the reason is given.
  std::string error;
  EXPECT_FALSE(WriteHeadingFile("x", folder.FilePath("missing/tarvolin.hed"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ReadHeadingFile(text, folder.FilePath("none.hed")));
}

TEST_F(PrintCommandTest, AHeadingLongerThanTheBoxCanBeSeenAndEditedLineByLine) {
  // A teacher's own heading file of five lines: the box scrolls, and deleting is never refused.
  std::string buffer = "Chemistry 101\nQuiz 4\nName:\nDate:\nPeriod:";
  THeadingDialog dialog(nullptr, &buffer);
  dialog.show();
  dialog.Create();
  QPlainTextEdit* edit = dialog.HeadingEdit();
  ASSERT_LT(dialog.VisibleLines(), 5);
  EXPECT_EQ(edit->toPlainText().toStdString(), buffer);
  EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(dialog.LengthStatic()->text(), "40 of 120 characters, breaks included");

  edit->moveCursor(QTextCursor::End);
  Key(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->toPlainText(), "Chemistry 101\nQuiz 4\nName:\nDate:\nPeriod");
  edit->moveCursor(QTextCursor::Start);
  Key(edit, Qt::Key_Delete);
  EXPECT_EQ(edit->toPlainText(), "hemistry 101\nQuiz 4\nName:\nDate:\nPeriod");
  // Typing within a line that keeps the line count is an edit too.
  edit->insertPlainText(QStringLiteral("C"));
  EXPECT_EQ(edit->toPlainText(), "Chemistry 101\nQuiz 4\nName:\nDate:\nPeriod");
  EXPECT_EQ(dialog.LengthStatic()->text(), "39 of 120 characters, breaks included");
  // A sixth line is growth past the box, and refused.
  edit->moveCursor(QTextCursor::End);
  Key(edit, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(edit->toPlainText(), "Chemistry 101\nQuiz 4\nName:\nDate:\nPeriod");
}

TEST_F(PrintCommandTest, TheHeadingReturnedNeverPassesTheLimitWhenTheBoxWrapsInsideAWord) {
  // Words too long for a line: the box breaks inside them, and each break is a character.
  std::vector<std::string> starts(2);
  starts[0].assign(120, 'x');
  starts[1].assign(60, 'y').append(1, ' ').append(59, 'z');
  for (const std::string& start : starts) {
    std::string buffer = start;
    THeadingDialog dialog(nullptr, &buffer);
    dialog.show();
    dialog.Create();
    ASSERT_GE(dialog.FormattedText().count('\n'), 1) << "the box should wrap inside the word";
    EXPECT_LE(dialog.FormattedText().size(), kMaxHeading);
    dialog.HeadingEdit()->moveCursor(QTextCursor::End);
    dialog.HeadingEdit()->insertPlainText(QStringLiteral("w"));
    EXPECT_LE(dialog.FormattedText().size(), kMaxHeading);
    Key(dialog.HeadingEdit(), Qt::Key_Return);
    EXPECT_LE(QString::fromStdString(buffer).size(), kMaxHeading) << buffer;
  }
}

TEST_F(PrintCommandTest, AWriteProtectedHeadingIsRefusedAndLeftAsItWas) {
  { std::ofstream("tarvolin.hed") << "Old heading"; }
  ASSERT_EQ(chmod("tarvolin.hed", 0444), 0);
  auto view = MakeView();
  view->CheckBox(0)->SetCheck(true);
  driver_.ExpectMessage(kConfirm, "Information").Answer(IDYES);
  driver_.ExpectDialog<THeadingDialog>()
      .Do([](THeadingDialog& d) { d.HeadingEdit()->setPlainText("New heading"); })
      .Press(1);
  driver_.ExpectMessage(
      "Unable to open tarvolin.hed\n\ntarvolin.hed is write-protected: Permission denied. The "
      "heading file keeps its previous contents.",
      "Warning");
  view->Dispatch(TReactWindow::kCmPrintQuiz);
  driver_.Verify();
  EXPECT_EQ(ReadWholeFile("tarvolin.hed"), "Old heading");
  EXPECT_TRUE(dialogPages_.empty());
}

}  // namespace
