// The editor view: its listing, Display, scrolling, and Add, Change and Delete driven as a
// teacher would, with the reaction file checked after every command.
#include "editor/react_window.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include "editor/change_dialog.h"
#include "editor/rules/my_check.h"
#include "editor/rules/reaction_listing.h"
#include "editor/select_dialog.h"
#include "editor/type_dialog.h"
#include "keypad/answer_window.h"
#include "keypad/new_question_dialog.h"
#include "tests/editor/editor_fixture.h"
#include "tests/keypad/equation_render.h"
#include "tests/support/driver.h"
#include "tests/support/full_disk.h"
#include "tests/support/has_text.h"
#include "tests/support/lock_holder.h"
#include "tests/support/patience.h"
#include "ui/mark_color.h"
#include "ui/radio_button.h"
#include "ui/scroller.h"

namespace {

using Strings = std::vector<std::string>;
constexpr const char* kNoSuchNumber = "You must enter a number for a reaction that exists!!";
// The Change and Delete questions name the reaction: "3.  Acid one.".
std::string MoreThanType(const std::string& entry) {
  return "Do you want to do more than just change reaction type?\n\n" + entry;
}
std::string DeleteThis(const std::string& entry) {
  return "Are you want to delete this reaction?\n\n" + entry;
}

// The number dialog: types entry and presses OK.
void Number(TDriver& driver, const std::string& entry) {
  driver.ExpectDialog<TChangeDialog>()
      .Do([entry](TChangeDialog& d) { d.Edit(TChangeDialog::kNumberEdit)->setText(entry.c_str()); })
      .Press(1);
}

// The new-question dialog: a question and Zn + Cu2+ -> Zn2+ + Cu, then OK.
void NewQuestion(TDriver& driver, const char* question) {
  driver.ExpectDialog<TNewQuestionDialog>()
      .Do([question](TNewQuestionDialog& d) { d.QuestionEdit()->setText(question); })
      .Press({"Zn", "+", "Cu", "2+", "->", "Zn", "2+", "+", "Cu"})
      .Press(1);
}

class ReactWindowTest : public EditorFixture {
 protected:
  // Types 2, 0, 4, 0, 1 and one type no listing knows.
  void WriteMixed() {
    std::vector<std::unique_ptr<TReaction>> list;
    list.push_back(R("Redox one.", 2));
    list.push_back(R("Precipitation one.", 0));
    list.push_back(R("Misc one.", 4));
    list.push_back(R("Precipitation two.", 0));
    list.push_back(R("Acid one.", 1));
    list.push_back(R("Odd type.", 9));
    Write(std::move(list));
  }
  TDriver driver_;
};

// On a dark palette a mark box stands out from the listing behind it.
TEST_F(ReactWindowTest, MarkBoxesShowOnADarkPalette) {
  WriteMixed();
  auto view = MakeView();
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(45, 45, 48));
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Mid, QColor(100, 100, 100));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  view->setPalette(dark);
  const QImage image = view->grab().toImage();
  const TMyCheck* box = view->CheckBox(0);
  ASSERT_NE(box, nullptr);
  const QRect area =
      QRect(view->ClientOrigin() + QPoint(0, box->Y()), QSize(box->Size(), box->Size())) &
      image.rect();
  int strongest = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      strongest = std::max(strongest, qGray(image.pixel(x, y)) - 30);
  EXPECT_GE(strongest, 40);
}

// The current entry stands on a band of the highlight colour, seen at a glance, its text as easy
// to read as on the listing, on light and dark palettes alike.
TEST_F(ReactWindowTest, TheCurrentEntryStandsOutOnLightAndDarkPalettes) {
  WriteMixed();
  auto view = MakeView();
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QCoreApplication::sendEvent(view.get(), &down);
  QPalette dark = view->palette();
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  for (const QPalette& palette : {view->palette(), dark}) {
    view->setPalette(palette);
    const int h = view->LineHeight();
    // Right of the first entry's text, inside its band.
    const QColor band = view->grab().toImage().pixelColor(
        view->ClientOrigin() + QPoint(view->width() - 60, ReactionListing::EntryY(h, 0) + h / 2));
    EXPECT_NE(band, palette.color(QPalette::Base));
    EXPECT_GE(ContrastRatio(band, palette.color(QPalette::Text)), 4.5);
  }
}

TEST_F(ReactWindowTest, ListsByTypeInFileOrderAndDisplayFiltersAndClearsMarks) {
  WriteMixed();
  auto view = MakeView();
  EXPECT_EQ(Questions(view->ShownReactions()), (Strings{"Precipitation one.", "Precipitation two.",
                                                        "Acid one.", "Redox one.", "Misc one."}));
  ASSERT_EQ(view->CheckBoxes().size(), 5u);
  view->grab();
  EXPECT_EQ(view->VerticalScrollBar(), nullptr) << "five entries fit: nothing scrolls down";
  const int h = view->LineHeight();
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(view->CheckBoxes()[k]->Y(), 10 + h + 3 * h * static_cast<int>(k));
  }
  for (int id : {201, 202, 203, 502}) EXPECT_TRUE(view->IsCommandEnabled(id)) << id;

  // Row 0 lists another reaction once filtered: a mark left on it would print the wrong one.
  view->CheckBox(0)->SetCheck(true);
  view->CheckBox(1)->SetCheck(true);
  view->Scroller()->ScrollTo(3, 4);
  driver_.ExpectDialog<TSelectDialog>().Press("Redox").Press(1);
  view->Dispatch(TReactWindow::kCmDisplay);
  EXPECT_EQ(Questions(view->ShownReactions()), Strings{"Redox one."});
  EXPECT_TRUE(Marked(*view).empty());
  EXPECT_EQ(view->Scroller()->XPos(), 0);
  EXPECT_EQ(view->Scroller()->YPos(), 0);
  // With a type hidden the editing commands are grey and do nothing (no dialog comes up).
  for (int id : {201, 202, 203}) {
    EXPECT_FALSE(view->IsCommandEnabled(id)) << id;
    view->Dispatch(id);
  }
  EXPECT_TRUE(view->IsCommandEnabled(502));

  // Cancel in Display changes nothing; none chosen lists nothing.
  driver_.ExpectDialog<TSelectDialog>().Press("Acid/Base").Press(2);
  view->Dispatch(TReactWindow::kCmDisplay);
  EXPECT_EQ(view->ShownReactions().size(), 1u);
  driver_.ExpectDialog<TSelectDialog>().Press(1);
  view->Dispatch(TReactWindow::kCmDisplay);
  EXPECT_TRUE(view->ShownReactions().empty());
  EXPECT_TRUE(view->CheckBoxes().empty());
  driver_.Verify();
}

TEST_F(ReactWindowTest, KeysWheelAndTheCurrentEntryFindTheirWayThroughALongListing) {
  std::vector<std::unique_ptr<TReaction>> list;
  for (int i = 0; i < 60; ++i) list.push_back(R(("Question " + std::to_string(i)).c_str(), 0));
  Write(std::move(list));
  auto view = MakeView();
  view->grab();  // the first paint sets the ranges and units
  view->grab();
  TScroller& scroller = *view->Scroller();
  const int h = view->LineHeight();
  const int viewHeight = view->ClientRect().height();
  EXPECT_EQ(scroller.YUnit(), h);
  EXPECT_EQ(scroller.XUnit(), 8);
  // The listing stops where its last entry sits at the bottom of the view.
  const int last = (10 + h + 3 * h * 60 - viewHeight + h - 1) / h;
  EXPECT_EQ(scroller.YRange(), last);
  EXPECT_EQ(scroller.XRange(), 80);
  const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(view.get(), &event);
    return std::pair(scroller.XPos(), scroller.YPos());
  };
  const auto wheel = [&](int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), {},
                      QPoint(0, 120 * notches), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.get(), &event);
    return std::pair(scroller.XPos(), scroller.YPos());
  };
  // A page is the view less one entry, so an entry cut at the foot is whole on the next page.
  const int yPage = viewHeight / h - 3;
  const int xPage = view->ClientRect().width() / 8;
  EXPECT_EQ(press(Qt::Key_PageDown), std::pair(0, yPage));
  EXPECT_EQ(press(Qt::Key_PageUp), std::pair(0, 0));
  EXPECT_EQ(press(Qt::Key_Left), std::pair(0, 0));
  EXPECT_EQ(press(Qt::Key_Right), std::pair(1, 0));
  const int end = std::min(80, 1 + xPage);
  EXPECT_EQ(press(Qt::Key_End), std::pair(end, 0));
  EXPECT_EQ(press(Qt::Key_Home), std::pair(std::max(0, end - xPage), 0));
  press(Qt::Key_Home);
  // Three lines a wheel notch, sideways with Shift; the ends hold.
  EXPECT_EQ(wheel(-2), std::pair(0, 6));
  EXPECT_EQ(wheel(1), std::pair(0, 3));
  EXPECT_EQ(wheel(5), std::pair(0, 0));
  EXPECT_EQ(wheel(-1, Qt::ShiftModifier), std::pair(3, 0));
  press(Qt::Key_Home);
  // Ctrl+End and Ctrl+Home: the last and the first reaction.
  EXPECT_EQ(press(Qt::Key_End, Qt::ControlModifier), std::pair(0, last));
  EXPECT_EQ(view->Book().Current(), 59u);
  ASSERT_NE(view->VerticalScrollBar(), nullptr);  // a long listing scrolls
  EXPECT_EQ(view->VerticalScrollBar()->value(), last);
  EXPECT_EQ(press(Qt::Key_Home, Qt::ControlModifier), std::pair(0, 0));
  EXPECT_EQ(view->Book().Current(), 0u);
  // Up and Down move the current entry and the listing follows it; Space ticks it.
  for (int i = 0; i < 20; ++i) press(Qt::Key_Down);
  EXPECT_EQ(view->Book().Current(), 20u);
  const int top = scroller.YPos() * h;
  EXPECT_GE(10 + h + 3 * h * 20, top);
  EXPECT_LE(10 + h + 3 * h * 21, top + viewHeight);
  press(Qt::Key_Space);
  EXPECT_TRUE(view->CheckBox(20)->GetCheck());
  press(Qt::Key_Up);
  press(Qt::Key_Space);
  press(Qt::Key_Space);
  EXPECT_FALSE(view->CheckBox(19)->GetCheck());
  for (int i = 0; i < 30; ++i) press(Qt::Key_Up);
  EXPECT_EQ(view->Book().Current(), 0u);
  EXPECT_EQ(scroller.YPos(), 0);
}

TEST_F(ReactWindowTest, AddChangeAndDeleteKeepTheFileEqualToTheListAndMarksOnTheirReactions) {
  WriteMixed();
  auto view = MakeView();
  view->CheckBox(3)->SetCheck(true);  // Redox one.

  // Add into the first group: the mark stays on "Redox one.", the new reaction is unmarked.
  NewQuestion(driver_, "New one.");
  driver_.ExpectDialog<TTypeDialog>().Press("Precipitation").Press(1);
  driver_.ExpectMessage("Added as reaction 3.", "Information");
  view->Dispatch(TReactWindow::kCmAdd);
  EXPECT_EQ(view->Book().Current(), 2u);
  ExpectFileEqualsList(*view);
  EXPECT_EQ(Questions(view->AllReactions()).back(), "New one.");
  const TReaction& added = *view->AllReactions().back();
  EXPECT_EQ(added.type, 0);
  EXPECT_EQ(added.reactants[1].FormulaText(), "Cu");
  EXPECT_EQ(added.reactants[1].charge, 2);
  EXPECT_EQ(added.products[0].charge, 2);
  EXPECT_EQ(Questions(view->ShownReactions())[2], "New one.");
  EXPECT_EQ(view->CheckBoxes().size(), view->ShownReactions().size());
  EXPECT_EQ(Marked(*view), Strings{"Redox one."});

  // Change 1 (Precipitation one.), No, then Redox: only the type changes, it keeps its place
  // in the file and moves to the Redox group; marks follow.
  view->CheckBox(0)->SetCheck(true);
  const Strings fileOrder = Questions(view->AllReactions());
  Number(driver_, "1");
  driver_.ExpectMessage(MoreThanType("1.  Precipitation one."), "Change question and/or answer?")
      .WithButtons(MbButtons::YesNoCancel)
      .Answer(IDNO);
  driver_.ExpectDialog<TTypeDialog>()
      .Check([](TTypeDialog& d) { EXPECT_TRUE(d.RadioButton(101)->GetCheck()); })
      .Press("Redox")
      .Press(1);
  view->Dispatch(TReactWindow::kCmChange);
  ExpectFileEqualsList(*view);
  EXPECT_EQ(Questions(view->AllReactions()), fileOrder);
  EXPECT_EQ(view->AllReactions()[1]->type, 2);
  EXPECT_EQ(Questions(view->ShownReactions())[4], "Precipitation one.");
  EXPECT_EQ(Marked(*view), (Strings{"Redox one.", "Precipitation one."}));

  // Change, Yes, OK in the new-question dialog, then Cancel in the type dialog: nothing.
  const std::string before = ReadWholeFile("tarvolin.rxn");
  Number(driver_, "2");
  driver_.ExpectMessage(MoreThanType("2.  New one."), "Change question and/or answer?")
      .Answer(IDYES);
  NewQuestion(driver_, "Replaced.");
  driver_.ExpectDialog<TTypeDialog>().Press(2);
  view->Dispatch(TReactWindow::kCmChange);
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), before);
  EXPECT_EQ(Questions(view->AllReactions()), fileOrder);

  // Change, Yes: question and answer replaced in place.
  Number(driver_, "2");
  driver_.ExpectMessage(MoreThanType("2.  New one."), "Change question and/or answer?")
      .Answer(IDYES);
  driver_.ExpectDialog<TNewQuestionDialog>()
      .Check([](TNewQuestionDialog& d) { EXPECT_EQ(d.QuestionEdit()->text(), "New one."); })
      .Do([](TNewQuestionDialog& d) { d.QuestionEdit()->setText("Replaced."); })
      .Press({"Na", "1+", "->", "Na", "1+"})
      .Press(1);
  driver_.ExpectDialog<TTypeDialog>().Press(1);
  view->Dispatch(TReactWindow::kCmChange);
  ExpectFileEqualsList(*view);
  EXPECT_EQ(view->AllReactions().back()->Question(), "Replaced.");
  EXPECT_TRUE(view->AllReactions().back()->reactants[1].IsEmpty());
  EXPECT_EQ(view->AllReactions().back()->products[0].charge, 1);

  // Delete the marked "Redox one.": its mark goes with it, the others stay.
  const std::size_t redoxRow = 3;
  ASSERT_EQ(Questions(view->ShownReactions())[redoxRow], "Redox one.");
  Number(driver_, std::to_string(redoxRow + 1));
  driver_.ExpectMessage(DeleteThis("4.  Redox one."), "Confirmation")
      .WithButtons(MbButtons::YesNo)
      .Answer(IDYES);
  view->Dispatch(TReactWindow::kCmDelete);
  ExpectFileEqualsList(*view);
  EXPECT_EQ(Marked(*view), Strings{"Precipitation one."});
  EXPECT_EQ(view->CheckBoxes().size(), view->ShownReactions().size());
  driver_.Verify();
}

TEST_F(ReactWindowTest, TheNumberedOneOfTwoSameQuestionsIsTheOneDeleted) {
  std::vector<std::unique_ptr<TReaction>> list;
  list.push_back(R("Same.", 0, "Ag"));
  list.push_back(R("Same.", 0, "Cu"));
  Write(std::move(list));
  auto view = MakeView();
  Number(driver_, "2");
  driver_.ExpectMessage(DeleteThis("2.  Same."), "Confirmation").Answer(IDYES);
  view->Dispatch(TReactWindow::kCmDelete);
  ASSERT_EQ(view->AllReactions().size(), 1u);
  EXPECT_EQ(view->AllReactions()[0]->reactants[0].FormulaText(), "Ag");
  ExpectFileEqualsList(*view);

  // Deleting the only reaction leaves an empty listing and a file of count 0.
  Number(driver_, "1");
  driver_.ExpectMessage(DeleteThis("1.  Same."), "Confirmation").Answer(IDYES);
  view->Dispatch(TReactWindow::kCmDelete);
  EXPECT_TRUE(view->CheckBoxes().empty());
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), std::string(4, '\0'));
  driver_.Verify();
}

TEST_F(ReactWindowTest, ANumberThatIsNoListedReactionIsAskedForAgain) {
  WriteMixed();
  auto view = MakeView();
  for (const char* entry : {"0", "-1", "abc", "", "6"}) {
    Number(driver_, entry);
    driver_.ExpectMessage(kNoSuchNumber, "Warning");
  }
  // "3x" is 3; the dialog shows the last entry when it comes up again.
  Number(driver_, "3x");
  driver_.ExpectMessage(DeleteThis("3.  Acid one."), "Confirmation").Answer(IDNO);
  view->Dispatch(TReactWindow::kCmDelete);
  driver_.ExpectDialog<TChangeDialog>()
      .Check([](TChangeDialog& d) { EXPECT_EQ(d.Edit(TChangeDialog::kNumberEdit)->text(), "3x"); })
      .Press(2);
  view->Dispatch(TReactWindow::kCmChange);
  EXPECT_EQ(view->AllReactions().size(), 6u);
  driver_.Verify();
}

// Collects message boxes instead of showing them, answering with the buttons given in turn
// (OK once they are used up).
struct Messages {
  explicit Messages(std::vector<int> answers = {}) {
    previous = SetMessageBoxHandler([this, answers](const TMessageBoxRequest& request) {
      seen.push_back(request);
      return seen.size() <= answers.size() ? answers[seen.size() - 1] : IDOK;
    });
  }
  ~Messages() { SetMessageBoxHandler(previous); }
  std::vector<TMessageBoxRequest> seen;
  TMessageBoxHandler previous;
};

QuestionRecord Record(const char* question) {
  QuestionRecord record;
  record.SetQuestion(question);
  record.SetFormula(true, 0, "Na");
  record.SetFormula(false, 0, "Na");
  record.SetCharge(false, 0, "1+");
  return record;
}

TEST_F(ReactWindowTest, AFailedSaveIsReportedAndTheNextChangeSavesEverything) {
  const TPatience patience(std::chrono::milliseconds(300));
  // What stops the first save, for as long as it lives, and what the teacher is told.
  const struct {
    const char* name;
    std::function<std::shared_ptr<void>()> stop;
    Strings says;
  } cases[] = {
      {"a full disk",
       [] { return std::make_shared<TFullDisk>(100); },
       {"could not be saved", "File too large"}},
      {"another program saving",
       [] {
         auto other = std::make_shared<TLockHolder>("tarvolin.rxn", TLockHolder::kUntilKilled);
         EXPECT_TRUE(other->Holding());
         return other;
       },
       {"tarvolin.rxn is being saved by another program; try again.", "stays in the list"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteMixed();
    auto view = MakeView();
    const std::string before = ReadWholeFile("tarvolin.rxn");
    {
      Messages messages;
      {
        const std::shared_ptr<void> stopped = c.stop();
        view->AddReaction(Record("First."), {1, 0, 0, 0, 0});
      }
      ASSERT_EQ(messages.seen.size(), 1u);
      EXPECT_EQ(messages.seen[0].caption, "Warning");
      for (const std::string& text : c.says) EXPECT_TRUE(HasText(messages.seen[0].text, text));
    }
    EXPECT_EQ(ReadWholeFile("tarvolin.rxn"), before);
    EXPECT_EQ(Questions(view->ShownReactions())[2], "First.");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
      files += entry.is_regular_file() && entry.path().filename() != "tarvolin.rxn.lock";
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";

    {
      Messages messages;
      view->AddReaction(Record("Second."), {1, 0, 0, 0, 0});
      ASSERT_EQ(messages.seen.size(), 1u);
      EXPECT_EQ(messages.seen[0].text, "Added as reaction 4.");
    }
    ExpectFileEqualsList(*view);
    EXPECT_EQ(view->AllReactions().size(), 8u);
  }
}

TEST_F(ReactWindowTest, AFolderThatIsGoneGivesTheCannotBeFoundWarning) {
  WriteMixed();
  auto view = MakeView();
  ASSERT_TRUE(std::filesystem::create_directory("gone"));
  std::filesystem::current_path(folder_.Path() / "gone");
  ASSERT_TRUE(std::filesystem::remove(folder_.Path() / "gone"));
  Messages messages;
  view->AddReaction(Record("First."), {1, 0, 0, 0, 0});
  ASSERT_EQ(messages.seen.size(), 1u);
  EXPECT_EQ(messages.seen[0].text.rfind("File tarvolin.rxn cannot be found!", 0), 0u);
  EXPECT_EQ(view->AllReactions().size(), 7u);
}

TEST_F(ReactWindowTest, ADamagedFileIsKeptBesideBeforeItsFirstRewrite) {
  WriteMixed();
  {
    std::ofstream out("tarvolin.rxn", std::ios::binary | std::ios::app);
    out << "half a record";
  }
  const std::string damaged = ReadWholeFile("tarvolin.rxn");
  { std::ofstream("tarvolin.rxn.damaged") << "an earlier copy"; }
  std::unique_ptr<TReactWindow> view;
  {
    Messages messages;
    view = MakeView();
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_EQ(messages.seen[0].caption, "Warning");
    // The record of type 9 can never be listed: it is counted and left out.
    EXPECT_TRUE(HasText(messages.seen[0].text, "1 of the 6 records read has no known type"));
  }
  EXPECT_EQ(view->AllReactions().size(), 5u);
  {
    Messages messages;
    view->AddReaction(Record("First."), {1, 0, 0, 0, 0});
    ASSERT_EQ(messages.seen.size(), 2u);
    EXPECT_EQ(messages.seen[0].caption, "Information");
    EXPECT_TRUE(HasText(messages.seen[0].text, "tarvolin.rxn.damaged.2"));
    view->AddReaction(Record("Second."), {1, 0, 0, 0, 0});
    EXPECT_EQ(messages.seen.size(), 3u) << "only the first save keeps a copy";
  }
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn.damaged.2"), damaged);
  EXPECT_EQ(ReadWholeFile("tarvolin.rxn.damaged"), "an earlier copy");
  ExpectFileEqualsList(*view);
}

TEST_F(ReactWindowTest, ChangeOpensOnTheReactionsOwnTypeAndATypeOnlyChangeKeepsTheAnswer) {
  WriteMixed();
  auto view = MakeView();
  // The last type chosen is Complex Ion; the reaction to change is Acid/Base.
  NewQuestion(driver_, "New one.");
  driver_.ExpectDialog<TTypeDialog>().Press("Complex Ion").Press(1);
  driver_.ExpectMessage("Added as reaction 5.", "Information");
  view->Dispatch(TReactWindow::kCmAdd);
  const std::size_t acidRow = 2;
  ASSERT_EQ(Questions(view->ShownReactions())[acidRow], "Acid one.");
  const std::size_t stored = 4;
  unsigned char before[kReactionRecordSize];
  EncodeReaction(*view->AllReactions()[stored], before);

  Number(driver_, std::to_string(acidRow + 1));
  driver_.ExpectMessage(MoreThanType("3.  Acid one."), "Change question and/or answer?")
      .Answer(IDNO);
  driver_.ExpectDialog<TTypeDialog>()
      .Check([](TTypeDialog& d) {
        EXPECT_TRUE(d.RadioButton(102)->GetCheck());
        EXPECT_FALSE(d.RadioButton(104)->GetCheck());
      })
      .Press("Redox")
      .Press(1);
  view->Dispatch(TReactWindow::kCmChange);
  driver_.Verify();
  ExpectFileEqualsList(*view);
  unsigned char after[kReactionRecordSize];
  EncodeReaction(*view->AllReactions()[stored], after);
  EXPECT_EQ(view->AllReactions()[stored]->type, 2);
  after[100] = before[100];  // the type code; everything else stays
  EXPECT_EQ(std::string(before, before + sizeof before), std::string(after, after + sizeof after));
}

TEST_F(ReactWindowTest, AClickTicksTheBoxDrawnUnderThePointerAtAnyScrollPosition) {
  std::vector<std::unique_ptr<TReaction>> list;
  for (int i = 0; i < 60; ++i) list.push_back(R(("Question " + std::to_string(i)).c_str(), 0));
  Write(std::move(list));
  auto view = MakeView();
  view->grab();
  view->grab();
  const int h = view->LineHeight();
  for (int units : {0, 1, 7, 40}) {
    view->Scroller()->ScrollTo(0, units);
    const int top = view->Scroller()->Offset().y();
    // The first entry whose box is wholly in view.
    const std::size_t row = static_cast<std::size_t>((top + 3 * h - 1) / (3 * h));
    const QPoint client(h / 2, ReactionListing::EntryY(h, row) - top + h / 2);
    const QPoint at = client + view->ClientOrigin();
    QMouseEvent click(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &click);
    for (std::size_t k = 0; k < view->CheckBoxes().size(); ++k)
      EXPECT_EQ(view->CheckBox(k)->GetCheck(), k == row) << "scrolled " << units << " row " << k;
    view->CheckBox(row)->SetCheck(false);
  }
}

TEST_F(ReactWindowTest, AnUnreadableFileTurnsEditingOffWithItsReason) {
  std::filesystem::create_directory("tarvolin.rxn");
  std::unique_ptr<TReactWindow> view;
  {
    Messages messages;
    view = MakeView();
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_EQ(messages.seen[0].text.rfind("Cannot open tarvolin.rxn.", 0), 0u);
    EXPECT_TRUE(HasText(messages.seen[0].text, "cannot be read (Is a directory)"));
  }
  Messages messages;
  view->Dispatch(TReactWindow::kCmAdd);  // refused before any dialog opens
  ASSERT_EQ(messages.seen.size(), 1u);
  EXPECT_EQ(messages.seen[0].caption, "Warning");
  EXPECT_TRUE(HasText(messages.seen[0].text, "cannot be added, changed or deleted"));
  EXPECT_TRUE(std::filesystem::is_directory("tarvolin.rxn"));
}

// Another editor saved meanwhile: the reaction added here goes on top of theirs with Enter
// alone; a change of a reaction they changed too asks, keeping both first and by default.
TEST_F(ReactWindowTest, AFileChangedOnDiskKeepsBothByDefault) {
  WriteMixed();
  auto view = MakeView();
  std::vector<std::unique_ptr<TReaction>> theirs;
  theirs.push_back(R("Imported meanwhile.", 1));
  Write(std::move(theirs));
  {
    Messages messages;  // every box answered as Enter answers it
    view->AddReaction(Record("Mine."), {1, 0, 0, 0, 0});
    ASSERT_EQ(messages.seen.size(), 2u);
    EXPECT_TRUE(HasText(messages.seen[0].text, "both are kept")) << messages.seen[0].text;
    EXPECT_EQ(messages.seen[1].text, "Added as reaction 1.");
  }
  EXPECT_EQ(Questions(view->AllReactions()), (Strings{"Imported meanwhile.", "Mine."}));
  ExpectFileEqualsList(*view);

  TReactionList onDisk;
  ASSERT_EQ(ReadReactionFile(onDisk), ReadResult::Ok);
  SetFieldText(onDisk[1]->question, TReaction::kQuestionSize, "Mine, theirs.");
  ASSERT_TRUE(WriteReactionFile(onDisk));
  {
    Messages messages({IDYES});
    view->ChangeReaction(Record("Mine, here."), {1, 0, 0, 0, 0}, 1, true);
    ASSERT_EQ(messages.seen.size(), 2u);
    EXPECT_EQ(messages.seen[0].defaultButton, IDYES);
    EXPECT_TRUE(HasText(messages.seen[0].text, "Yes: keep both")) << messages.seen[0].text;
  }
  EXPECT_EQ(Questions(view->AllReactions()),
            (Strings{"Imported meanwhile.", "Mine, theirs.", "Mine, here."}));
  ExpectFileEqualsList(*view);
  EXPECT_FALSE(view->Book().Unsaved());
}

TEST_F(ReactWindowTest, AnUnsavedChangeIsNeverLeftWithoutAsking) {
  WriteMixed();
  auto view = MakeView();
  ASSERT_EQ(chmod("tarvolin.rxn", 0444), 0);
  {
    Messages messages;
    view->AddReaction(Record("First."), {1, 0, 0, 0, 0});
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_EQ(messages.seen[0].text.rfind("tarvolin.rxn could not be saved:", 0), 0u);
  }
  ASSERT_TRUE(view->Book().Unsaved());
  {
    Messages messages({IDCANCEL});
    EXPECT_FALSE(view->MaybeSave(true));
    EXPECT_EQ(messages.seen.at(0).buttons, MbButtons::YesNoCancel);
    // Yes retries, and a retry that fails again keeps the teacher where they are.
    Messages again({IDYES, IDOK});
    EXPECT_FALSE(view->MaybeSave(true));
    EXPECT_EQ(again.seen.size(), 2u);
  }
  EXPECT_EQ(view->AllReactions().size(), 7u);
  ASSERT_EQ(chmod("tarvolin.rxn", 0644), 0);
  {
    Messages messages({IDYES});
    EXPECT_TRUE(view->MaybeSave(true));
  }
  ExpectFileEqualsList(*view);
  EXPECT_FALSE(view->Book().Unsaved());
  // Discarding drops the change: the list is the file again.
  ASSERT_EQ(chmod("tarvolin.rxn", 0444), 0);
  {
    Messages messages({IDOK, IDNO});
    view->AddReaction(Record("Second."), {1, 0, 0, 0, 0});
    EXPECT_TRUE(view->MaybeSave(true));
  }
  EXPECT_EQ(view->AllReactions().size(), 7u);
  EXPECT_FALSE(view->Book().Unsaved());
}

TEST_F(ReactWindowTest, AQuestionThatRepeatsAnotherIsKeptOnlyWhenTheTeacherSaysSo) {
  WriteMixed();
  auto view = MakeView();
  const std::string warning =
      "Please look at this reaction again before it is kept:\n\n- the question repeats that of "
      "reaction 1: \"Precipitation one.\"\n\nDo you want to keep it as it is?";
  NewQuestion(driver_, "precipitation   ONE.");
  driver_.ExpectDialog<TTypeDialog>().Press(1);
  driver_.ExpectMessage(warning, "Warning").WithButtons(MbButtons::YesNo).Answer(IDNO);
  // No goes back to the question and answer as typed, to be put right.
  driver_.ExpectDialog<TNewQuestionDialog>()
      .Check([](TNewQuestionDialog& d) {
        EXPECT_EQ(d.QuestionEdit()->text().toStdString(), "precipitation   ONE.");
        EXPECT_EQ(EquationText(*d.AnswerWindow()->Equation()), "Zn + Cu^2+ -> Zn^2+ + Cu");
      })
      .Press(2);
  view->Dispatch(TReactWindow::kCmAdd);
  EXPECT_EQ(view->AllReactions().size(), 6u);
  NewQuestion(driver_, "precipitation   ONE.");
  driver_.ExpectDialog<TTypeDialog>().Press(1);
  driver_.ExpectMessage(warning, "Warning").Answer(IDYES);
  driver_.ExpectMessage("Added as reaction 3.", "Information");
  view->Dispatch(TReactWindow::kCmAdd);
  driver_.Verify();
  EXPECT_EQ(view->AllReactions().size(), 7u);
  ExpectFileEqualsList(*view);
}

}  // namespace
