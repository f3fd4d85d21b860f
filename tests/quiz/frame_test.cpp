// The main window: its commands, the help files, and a quiz graded by the real checker.
#include "quiz/frame.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>

#include "editor/react_window.h"
#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "keypad/equation_dialog.h"
#include "keypad/new_question_dialog.h"
#include "model/reaction_file.h"
#include "quiz/quiz_window.h"
#include "quiz/result_window.h"
#include "tests/support/driver.h"
#include "ui/help_viewer.h"

namespace {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir::setCurrent(dir_.path());
    TReactionList list;
    list.push_back(std::make_unique<TReaction>("Silver.", 0));
    list[0]->reactants[0] = {"Ag", 1};
    list[0]->reactants[1] = {"Cl", -1};
    list[0]->products[0] = {"AgCl", 0};
    ASSERT_TRUE(WriteReactionFile(list));
  }
  void TearDown() override {
    THelpViewer::Instance().hide();
    QDir::setCurrent(previous_);
  }

  QString previous_ = QDir::currentPath();
  QTemporaryDir dir_;
};

TEST_F(FrameTest, QuizModeHandlesItsOwnCommandsOnly) {
  TFrame frame;
  frame.Create();
  EXPECT_EQ(frame.ClientWindow(), frame.QuizView());
  // The first thing to do, Start..., takes the keys.
  EXPECT_EQ(frame.focusWidget(), frame.QuizView()->StartButton());
  for (int id : {301, 401, 901, 902, 24340}) EXPECT_TRUE(frame.MenuAction(id)->isEnabled()) << id;
  for (int id : {201, 202, 203}) EXPECT_FALSE(frame.RouteCommand(id)) << id;
}

TEST_F(FrameTest, HelpForTheQuizViewOpensAtTheQuizPage) {
  QFile file("tarvolin.hlp");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<p><a name=\"index\">Contents</a></p><p><a name=\"quiz\">The quiz</a></p>");
  file.close();
  TFrame frame;
  frame.show();
  frame.ShowHelp();  // F1
  EXPECT_TRUE(THelpViewer::Instance().isVisible());
  EXPECT_EQ(THelpViewer::Instance().Topic(), "quiz");
  frame.RouteCommand(TFrame::kCmHelpIndex);
  EXPECT_EQ(THelpViewer::Instance().Topic(), "index");
}

// Help opens beside the main window where the screen has room, else over its lower part; it
// is always whole on the screen and never hides the main window's menu.
TEST_F(FrameTest, HelpOpensBesideTheMainWindowNeverOverItsMenu) {
  TFrame frame;
  frame.show();
  const QRect screen = frame.screen()->availableGeometry();
  // What the screen leaves beside help, less a little for the main window's frame.
  const int room = screen.width() - THelpViewer::Instance().frameGeometry().width() - 20;
  // {main window, whether help fits beside it}
  const std::pair<QRect, bool> cases[] = {
      {{screen.x() + 10, screen.y() + 20, room, screen.height() / 2}, true},
      {{screen.right() - 10 - room, screen.y() + 10, room, screen.height() / 2}, true},
      {{screen.x() + 20, screen.y() + 40, screen.width() - 40, screen.height() - 60}, false},
      {{screen.x(), screen.y() + screen.height() / 2, screen.width(), screen.height() / 2}, false},
  };
  for (const auto& [main, beside] : cases) {
    THelpViewer::Instance().hide();
    frame.setGeometry(main);
    frame.RouteCommand(TFrame::kCmHelpIndex);
    const QRect help = THelpViewer::Instance().frameGeometry();
    const QRect menu(frame.menuBar()->mapToGlobal(QPoint(0, 0)), frame.menuBar()->size());
    EXPECT_TRUE(screen.contains(help)) << main.x() << "," << main.y();
    EXPECT_FALSE(help.intersects(menu)) << main.x() << "," << main.y();
    EXPECT_EQ(help.intersects(frame.frameGeometry()), !beside) << main.x() << "," << main.y();
  }
}

TEST_F(FrameTest, ClosingTheWindowClosesTheHelpFilesItOpenedButExitDoesNot) {
  const std::pair<std::vector<int>, bool> cases[] = {
      {{901}, true}, {{902}, true}, {{902, 901}, true}, {{}, false}, {{901, 24340}, false}};
  for (const auto& [commands, closes] : cases) {
    THelpViewer::Instance().Open("other.hlp");
    TFrame frame;
    frame.show();
    for (int id : commands) frame.RouteCommand(id);
    if (commands.empty() || commands.back() != 24340) frame.close();
    EXPECT_NE(THelpViewer::Instance().isVisible(), closes) << commands.size();
  }
}

TEST_F(FrameTest, StartRunsAQuizGradedAndCoachedByTheRealChecker) {
  TFrame frame;
  frame.Create();
  TDriver driver;
  const std::string completed =
      "You have completed all of the reactions or there are no reactions in the chosen categories";
  driver.ExpectDialog<TSelectDialog>().Press("Precipitation").Press(1);
  driver.ExpectDialog<TEquationDialog>()
      .Press({"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
      .Press(1);
  driver.ExpectMessage("Very good, you have the correct net ionic equation.", "Congratulations");
  driver.ExpectMessage(completed +
                           "\n\nThis quiz run: 3 out of 3 points.\nRight at once: 1 of 1 "
                           "question.\nNeeded coaching: none.\nReaction type most missed: none.",
                       "Information");
  frame.RouteCommand(301);

  // Chloride is missing: coaching offers to add it; the student asks for the answer instead.
  driver.ExpectDialog<TSelectDialog>().Press("Precipitation").Press(1);
  driver.ExpectDialog<TEquationDialog>().Press({"Ag", "1+", "->", "Ag", "Cl"}).Press(1);
  driver.ExpectDialog("609").Press(2);
  driver.ExpectDialog<TResultWindow>()
      .Check([](TResultWindow& d) {
        QStringList texts;
        for (QLabel* label : d.findChildren<QLabel*>()) texts << label->text();
        EXPECT_TRUE(texts.contains("You now have 2 total points out of 3."));
      })
      .Press(1);
  driver.ExpectMessage(completed +
                           "\n\nThis quiz run: 2 out of 3 points.\nRight at once: 0 of 1 "
                           "question.\nNeeded coaching: 1 question.\nReaction type most missed: "
                           "Precipitation (1 question).",
                       "Information");
  frame.RouteCommand(301);
  driver.Verify();
  EXPECT_EQ(frame.QuizView()->Run().PointsEarned(), 2);
}

TEST_F(FrameTest, EditorModeSwapsMenusAndViewsAndEditsReachTheQuizOnlyAfterARestart) {
  constexpr const char* kRestart =
      "For your changes to the reaction list to take effect you must exit the program and then "
      "restart it.";
  TFrame frame;
  frame.Create();
  TDriver driver;
  // Edit Reactions then at once Start Reactions: the restart message all the same.
  frame.RouteCommand(TFrame::kCmEditReactions);
  EXPECT_EQ(frame.MenuName(), "MENU_1");
  EXPECT_EQ(frame.ClientWindow(), frame.EditorView());
  EXPECT_FALSE(frame.QuizView()->isVisible() && frame.isVisible());
  for (int id : {155, 201, 202, 203, 501, 502, 24340})
    EXPECT_TRUE(frame.MenuAction(id)->isEnabled()) << id;
  driver.ExpectMessage(kRestart, "Information").WithIcon(MbIcon::Information);
  frame.RouteCommand(TFrame::kCmStartReactions);
  EXPECT_EQ(frame.MenuName(), "2");
  EXPECT_EQ(frame.ClientWindow(), frame.QuizView());
  EXPECT_EQ(frame.focusWidget(), frame.QuizView()->StartButton());

  // A reaction added in editor mode is in the file but not in the quiz's list.
  frame.RouteCommand(TFrame::kCmEditReactions);
  driver.ExpectDialog<TNewQuestionDialog>()
      .Do([](TNewQuestionDialog& d) { d.QuestionEdit()->setText("Copper."); })
      .Press({"Cu", "+", "Ag", "1+", "->", "Cu", "2+", "+", "Ag"})
      .Press(1);
  driver.ExpectDialog<TTypeDialog>().Press(1);
  driver.ExpectMessage("Added as reaction 2.", "Information");
  frame.RouteCommand(201);
  driver.ExpectMessage(kRestart, "Information");
  frame.RouteCommand(TFrame::kCmStartReactions);
  driver.Verify();
  EXPECT_EQ(frame.EditorView()->AllReactions().size(), 2u);
  EXPECT_EQ(frame.QuizView()->Reactions().size(), 1u);
  // Back in quiz mode Insert, F4 and Delete reach nothing.
  for (int id : {201, 202, 203}) EXPECT_FALSE(frame.RouteCommand(id)) << id;
  TFrame restarted;
  EXPECT_EQ(restarted.QuizView()->Reactions().size(), 2u);
}

// Entering editor mode makes the first listed reaction current, so Space ticks it at once.
TEST_F(FrameTest, EditorModeOpensOnTheFirstReactionAsCurrent) {
  TFrame frame;
  frame.Create();
  frame.RouteCommand(TFrame::kCmEditReactions);
  TReactWindow& editor = *frame.EditorView();
  EXPECT_EQ(editor.Book().Current(), 0u);
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(&editor, &space);
  ASSERT_NE(editor.CheckBox(0), nullptr);
  EXPECT_TRUE(editor.CheckBox(0)->GetCheck());
}

TEST_F(FrameTest, AMissingFileIsReportedByTheEditorViewThenByTheQuizView) {
  std::remove("tarvolin.rxn");
  TDriver driver;
  driver.ExpectMessage("Cannot open tarvolin.rxn", "Information").WithIcon(MbIcon::Exclamation);
  driver.ExpectMessage(ReadResultMessage(ReadResult::CannotOpen), "Information");
  TFrame frame;
  driver.Verify();
  EXPECT_TRUE(frame.EditorView()->AllReactions().empty());
}

TEST_F(FrameTest, AnUnsavedListShowsInTheTitleAndIsAskedAboutBeforeLeavingIt) {
  TFrame frame;
  frame.Create();
  EXPECT_EQ(frame.windowTitle(), "Writing Tarvolin Equations");
  frame.RouteCommand(TFrame::kCmEditReactions);
  ASSERT_EQ(chmod("tarvolin.rxn", 0444), 0);
  TDriver driver;
  driver.ExpectDialog<TNewQuestionDialog>()
      .Do([](TNewQuestionDialog& d) { d.QuestionEdit()->setText("Copper."); })
      .Press({"Cu", "+", "Ag", "1+", "->", "Cu", "2+", "+", "Ag"})
      .Press(1);
  driver.ExpectDialog<TTypeDialog>().Press(1);
  driver.ExpectMessage(
      "tarvolin.rxn could not be saved: the file is write-protected (no one may write to it), so "
      "it was left as it was.\n\nThe file keeps its previous contents. Your change stays in the "
      "list, and the whole list is saved again with the next change.",
      "Warning");
  frame.RouteCommand(201);
  EXPECT_EQ(frame.windowTitle(), "Writing Tarvolin Equations - tarvolin.rxn not saved");

  const std::string ask =
      "Your changes to the reaction list are not saved in tarvolin.rxn.\n\nYes: try to save them "
      "again.\nNo: discard them.\nCancel: go back to the list.";
  // Quiz mode and Exit both ask; Cancel keeps the teacher in the editor with the change.
  driver.ExpectMessage(ask, "Confirmation").WithButtons(MbButtons::YesNoCancel).Answer(IDCANCEL);
  frame.RouteCommand(TFrame::kCmStartReactions);
  EXPECT_EQ(frame.ClientWindow(), frame.EditorView());
  driver.ExpectMessage(ask, "Confirmation").Answer(IDCANCEL);
  frame.RouteCommand(TFrame::kCmExit);
  driver.ExpectMessage(ask, "Confirmation").Answer(IDCANCEL);
  EXPECT_FALSE(frame.close());
  EXPECT_EQ(frame.EditorView()->AllReactions().size(), 2u);
  // Saving again once the file may be written: the title is plain again.
  ASSERT_EQ(chmod("tarvolin.rxn", 0644), 0);
  driver.ExpectMessage(ask, "Confirmation").Answer(IDYES);
  driver.ExpectMessage(
      "For your changes to the reaction list to take effect you must exit the program and then "
      "restart it.",
      "Information");
  frame.RouteCommand(TFrame::kCmStartReactions);
  driver.Verify();
  EXPECT_EQ(frame.ClientWindow(), frame.QuizView());
  EXPECT_EQ(frame.windowTitle(), "Writing Tarvolin Equations");
}

// At a device pixel ratio of 2 each size the desktop shows the icon at is drawn, not scaled up
// from a smaller one.
TEST(FrameIconTest, IsDrawnForEveryToolbarAndTitleSizeAtTwiceTheRatio) {
  const QList<QSize> drawn = TFrame::Icon().availableSizes();
  for (int size : {16, 24, 32, 48, 64})
    EXPECT_TRUE(drawn.contains(QSize(2 * size, 2 * size))) << size;
}

}  // namespace
