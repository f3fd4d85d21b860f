// The frame: command routing to itself and then its client, menus, accelerators, views;
// the application's loop; the help viewer.
#include "ui/frame_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <tuple>
#include <vector>

#include "ui/application.h"
#include "ui/help_viewer.h"
#include "ui/window.h"

namespace {

class TView : public TWindow {
 public:
  explicit TView(QWidget* parent) : TWindow(parent) {
    Bind(301, [this] { commands.push_back(301); });
    Bind(201, &TView::CmAdd);
    Bind(24340, [this] { commands.push_back(-24340); });  // the frame's, taken first
    BindEnabler(201, [this] { return canAdd; });
  }
  std::vector<int> commands;
  bool canAdd = true;

 private:
  void CmAdd() { commands.push_back(201); }
};

class TFrame : public TFrameWindow {
 public:
  TFrame() : TFrameWindow(nullptr, "Writing Tarvolin Equations") {
    Bind(24340, [this] { commands.push_back(24340); });
    Bind(401, [this] { commands.push_back(401); });
    quiz = new TView(this);
    editor = new TView(this);
  }
  std::vector<int> commands;
  TView* quiz;
  TView* editor;
  int setups = 0;

 protected:
  void SetupWindow() override {
    ++setups;
    editor->hide();
    SetClientWindow(quiz);
  }
};

TEST(FrameRouting, FrameFirstThenClientAndUnboundDoesNothing) {
  TFrame frame;
  frame.show();
  EXPECT_EQ(frame.ClientWindow(), frame.quiz);
  EXPECT_TRUE(frame.RouteCommand(24340));
  EXPECT_TRUE(frame.RouteCommand(301));
  EXPECT_FALSE(frame.RouteCommand(502));
  EXPECT_EQ(frame.commands, std::vector<int>{24340});
  EXPECT_EQ(frame.quiz->commands, std::vector<int>{301});
  EXPECT_TRUE(frame.editor->commands.empty());
  // Only the current client gets commands.
  frame.SetClientWindow(frame.editor);
  frame.RouteCommand(301);
  EXPECT_EQ(frame.quiz->commands.size(), 1u);
  EXPECT_EQ(frame.editor->commands, std::vector<int>{301});
}

TEST(FrameRouting, WithoutClientOnlyTheFrameAnswers) {
  TFrameWindow frame(nullptr, "empty");
  EXPECT_FALSE(frame.RouteCommand(301));
  EXPECT_FALSE(frame.IsRouteEnabled(301));
}

TEST(FrameViews, SwitchingKeepsBothViewsAndShowsOne) {
  TFrame frame;
  QPointer<TView> quiz = frame.quiz, editor = frame.editor;
  frame.show();
  EXPECT_EQ(frame.setups, 1);
  EXPECT_TRUE(quiz->isVisible());
  EXPECT_FALSE(editor->isVisible());
  frame.quiz->hide();
  frame.SetClientWindow(editor);
  ASSERT_TRUE(quiz);  // not destroyed
  EXPECT_TRUE(editor->isVisible());
  EXPECT_FALSE(quiz->isVisible());
  frame.editor->hide();
  frame.SetClientWindow(quiz);
  ASSERT_TRUE(editor);
  EXPECT_TRUE(quiz->isVisible());
  EXPECT_FALSE(editor->isVisible());
  frame.hide();
  frame.show();
  EXPECT_EQ(frame.setups, 1);
}

std::vector<QString> TopLevelTexts(QMenuBar* bar) {
  std::vector<QString> texts;
  for (QAction* action : bar->actions()) texts.push_back(action->text());
  return texts;
}

TEST(FrameMenus, MenusFromResourcesRouteAndGrey) {
  TFrame frame;
  frame.show();
  ASSERT_TRUE(frame.AssignMenu("2"));
  EXPECT_EQ(TopLevelTexts(frame.menuBar()),
            (std::vector<QString>{"&Tarvolin", "&Edit Reactions", "&Help"}));
  ASSERT_NE(frame.MenuAction(301), nullptr);
  EXPECT_EQ(frame.MenuAction(301)->text(), "&Start...\tF3");
  frame.MenuAction(301)->trigger();
  frame.MenuAction(401)->trigger();
  EXPECT_EQ(frame.quiz->commands, std::vector<int>{301});
  EXPECT_EQ(frame.commands, std::vector<int>{401});
  // Help is nobody's command here: grey.
  EXPECT_FALSE(frame.MenuAction(901)->isEnabled());
  EXPECT_TRUE(frame.MenuAction(24340)->isEnabled());

  ASSERT_TRUE(frame.AssignMenu("MENU_1"));
  EXPECT_EQ(TopLevelTexts(frame.menuBar()),
            (std::vector<QString>{"&Tarvolin", "&Edit", "&Start Reactions", "&Display", "&Help"}));
  EXPECT_EQ(frame.MenuAction(301), nullptr);
  EXPECT_TRUE(frame.MenuAction(201)->isEnabled());
  frame.quiz->canAdd = false;
  frame.UpdateCommandEnabling();
  EXPECT_FALSE(frame.MenuAction(201)->isEnabled());
  frame.MenuAction(201)->trigger();  // a greyed item does nothing
  EXPECT_EQ(frame.quiz->commands, std::vector<int>{301});
  EXPECT_FALSE(frame.AssignMenu("nosuchmenu"));
  EXPECT_EQ(frame.MenuName(), "MENU_1");
}

// A help file with the index and one more page, in a folder of its own.
class HelpFile {
 public:
  HelpFile() {
    QFile file(dir_.filePath("tarvolin.hlp"));
    file.open(QIODevice::WriteOnly);
    QByteArray page = "<html><body><h1><a name=\"index\">Contents</a></h1><p>Net ionic help</p>";
    for (int i = 0; i < 200; ++i) page += "<p>filler</p>";
    page += "<h2><a name=\"answer\">The answer dialog</a></h2></body></html>";
    file.write(page);
  }
  std::string Path() const { return dir_.filePath("tarvolin.hlp").toStdString(); }

 private:
  QTemporaryDir dir_;
};

void Activate(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST(FrameAccelerators, KeysReachTheFrameOnlyWhileItIsTheActiveWindow) {
  TFrame frame;
  ASSERT_TRUE(frame.LoadAccelerators("ACCELERATORS_1"));
  Activate(frame);
  QTest::keyClick(&frame, Qt::Key_F3);
  QTest::keyClick(&frame, Qt::Key_Insert);
  QTest::keyClick(&frame, Qt::Key_Delete);  // nobody handles 203
  QTest::keyClick(&frame, Qt::Key_X, Qt::AltModifier);
  EXPECT_EQ(frame.quiz->commands, (std::vector<int>{301, 201}));
  EXPECT_EQ(frame.commands, std::vector<int>{24340});
  // Loading again replaces the table rather than doubling it.
  frame.LoadAccelerators("ACCELERATORS_1");
  QTest::keyClick(&frame, Qt::Key_F3);
  EXPECT_EQ(frame.quiz->commands, (std::vector<int>{301, 201, 301}));

  // The same keys typed in the help viewer do nothing to the main window.
  HelpFile help;
  WinHelp(help.Path(), HELP_INDEX, {}, &frame);
  THelpViewer& viewer = THelpViewer::Instance();
  Activate(viewer);
  for (QWidget* target : std::initializer_list<QWidget*>{&viewer, viewer.Browser()}) {
    QTest::keyClick(target, Qt::Key_F3);
    QTest::keyClick(target, Qt::Key_X, Qt::AltModifier);
  }
  EXPECT_EQ(frame.quiz->commands.size(), 3u);
  EXPECT_EQ(frame.commands, std::vector<int>{24340});
  QTest::keyClick(viewer.Browser(), Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible());
}

class TApp : public TApplication {
 public:
  TApp() : TApplication("Tarvolin") {}
  int inits = 0;

 protected:
  void InitMainWindow() override {
    ++inits;
    SetMainWindow(new TFrame);
  }
};

TEST(Application, RunShowsTheMainWindowAndReturnsTheQuitCode) {
  TApp app;
  EXPECT_EQ(app.Name(), "Tarvolin");
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = app.MainWindow() && app.MainWindow()->isVisible();
    TApplication::QuitWithCode(7);
  });
  EXPECT_EQ(app.Run(), 7);
  EXPECT_EQ(app.inits, 1);
  EXPECT_TRUE(shown);
  QTimer::singleShot(0, [] { TApplication::QuitWithCode(0); });
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(app.inits, 1);  // the main window is made once
}

TEST(HelpViewer, ShowsAFileAtATopicOrItsIndexAndClosesByName) {
  HelpFile help;
  const std::string name = help.Path();
  THelpViewer& viewer = THelpViewer::Instance();
  // {command, topic asked for, topic shown}
  const std::tuple<int, std::string, std::string> cases[] = {
      {HELP_CONTEXT, "answer", "answer"},
      {HELP_INDEX, "", "index"},
      {HELP_CONTEXT, "no-such-page", "index"},
      {HELP_CONTEXT, "", "index"}};
  for (const auto& [command, topic, shown] : cases) {
    EXPECT_TRUE(WinHelp(name, command, topic));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.Topic(), shown) << topic;
    const int scrolled = viewer.Browser()->verticalScrollBar()->value();
    EXPECT_EQ(scrolled > 1000, shown == "answer") << topic;  // the index is at the top
  }
  EXPECT_TRUE(viewer.Browser()->toPlainText().contains("Net ionic help"));
  EXPECT_EQ(viewer.windowTitle(), QApplication::applicationName() + " Help");
  WinHelp("other.hlp", HELP_QUIT);  // not the one shown
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_TRUE(WinHelp(name, HELP_QUIT));
  EXPECT_FALSE(viewer.isVisible());
}

TEST(HelpViewer, OpensBesideTheMainWindowWhereTheScreenHasRoom) {
  const QRect screen(0, 0, 1024, 768);
  const QSize size(300, 400);
  // {main window, where the viewer goes}
  const std::pair<QRect, QPoint> cases[] = {
      {{100, 50, 500, 400}, {600, 50}},   // right of it
      {{600, 50, 400, 400}, {300, 50}},   // left of it
      {{100, 50, 800, 400}, {724, 50}},   // no room either side: against the right edge
      {{100, 600, 500, 100}, {600, 368}}  // kept on the screen
  };
  for (const auto& [main, expected] : cases)
    EXPECT_EQ(THelpViewer::PlaceBeside(main, size, screen), expected)
        << main.x() << "," << main.y();
}

TEST(HelpViewer, MissingFileIsSaidInTheViewer) {
  EXPECT_FALSE(WinHelp("no-such-help-file.hlp", HELP_INDEX));
  THelpViewer& viewer = THelpViewer::Instance();
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_FALSE(viewer.FileFound());
  EXPECT_TRUE(viewer.Browser()->toPlainText().contains("no-such-help-file.hlp"));
  EXPECT_TRUE(viewer.Browser()->toPlainText().contains("cannot be found"));
  WinHelp("no-such-help-file.hlp", HELP_QUIT);
  EXPECT_FALSE(viewer.isVisible());
}

}  // namespace
