#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "editor/rules/assignment_draft.h"
#include "editor/rules/reaction_book.h"
#include "model/assignment.h"
#include "print/my_printer.h"
#include "ui/resources/command_ids.h"
#include "ui/window.h"

// The reaction editor view: paints the teacher's reaction book (every stored reaction listed
// by type with its question, its equation and a check box), scrolls it, routes clicks to the
// boxes and runs the dialogs of Display, Add, Change, Delete and Print Quiz. The rules of the
// listing, the edits and saving live in TReactionBook.
class TClassStore;
class TResultsStore;

class TReactWindow : public TWindow {
  Q_OBJECT

 public:
  static constexpr int kCmPrintQuiz = CommandId::kPrintQuiz;
  static constexpr int kCmAdd = CommandId::kAdd;
  static constexpr int kCmChange = CommandId::kChange;
  static constexpr int kCmDelete = CommandId::kDelete;
  static constexpr int kCmDisplay = CommandId::kDisplay;
  static constexpr int kCmAssign = CommandId::kAssign;
  static constexpr int kCmAssignments = CommandId::kAssignments;
  static constexpr int kCmAssignPractice = CommandId::kPractice;

  // Reads the reaction file of the working folder.
  explicit TReactWindow(QWidget* parent);
  ~TReactWindow() override;

  const TReactionBook& Book() const { return book_; }
  const TReactionList& AllReactions() const { return book_.AllReactions(); }
  const TReactionList& ShownReactions() const { return book_.ShownReactions(); }
  const std::vector<std::unique_ptr<TMyCheck>>& CheckBoxes() const { return book_.CheckBoxes(); }
  TMyCheck* CheckBox(std::size_t row) const { return book_.CheckBox(row); }
  // The line height of the listing: the height of "X" in the view's font.
  int LineHeight() const;

  // The view becomes the frame's client: the first listed reaction is the current entry.
  void EnterEditorMode();

  void CmAdd();
  void CmChange();
  void CmDelete();
  void CmDisplay();
  void CmPrintQuiz();
  // Gives the ticked reactions to the class as an assignment, kept where the class's answers go.
  void CmAssign();
  // Practice of each student's own mistakes, as homework: a number of questions, no reactions.
  void CmAssignPractice();
  void GiveAssignment(const std::vector<const TReaction*>& ticked, TAssignmentDraft draft);
  // The assignments given, to change a title or due date or to withdraw one.
  void CmAssignments();

  // The edits as the commands make them once their dialogs are done, each followed by a save.
  void AddReaction(const QuestionRecord& record, const TTypeFlags& flags);
  void ChangeReaction(const QuestionRecord& record, const TTypeFlags& flags, std::size_t stored,
                      bool changeAll);
  // Writes the list to the reaction file, asking the teacher when the file was changed by
  // someone else; false (after telling the teacher) when the list is still unsaved.
  bool SaveReactions();
  // Before the list is left behind (Exit, quiz mode, printing): when a change is unsaved, asks
  // whether to save it again, discard it or cancel. False when the teacher cancels or the
  // save failed again. A discarded change is dropped from the list when reloadOnDiscard.
  bool MaybeSave(bool reloadOnDiscard);

  std::string HelpTopic() const override { return "editor"; }

 signals:
  // The book's saved or unsaved state may have changed.
  void BookStateChanged();

 protected:
  void SetupWindow() override;
  void Paint(TDC& dc) override;
  void EvLButtonDown(const QPoint& client) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool AllTypesListed() const { return book_.AllTypesListed(); }
  // False, after telling the teacher why, while the list may not be changed.
  bool MayEdit();
  // Asks for a listed reaction's number until a valid one or Cancel; the row, 0-based.
  bool AskReactionNumber(std::size_t& row);
  void ReadAgainFromDisk();
  // Warns of what looks wrong in a reaction about to be kept; true when the teacher keeps it.
  bool KeepDespiteDoubts(const QuestionRecord& record, const TTypeFlags& flags,
                         std::size_t replacing);
  // Scrolls so that listed row k is wholly in view.
  void ShowRow(std::size_t k);
  // The question of listed row k as the teacher sees it: "3.  Question text".
  std::string NumberedQuestion(std::size_t k) const;
  void ShowReadMessage();
  // Opens the store the class's answers go to, for writing assignments, off the window's thread
  // (work, if any, done with it there); false, after telling the teacher what is needed, when
  // there is none or this login may not write them, and without a word when she cancelled.
  bool OpenClassStore(TClassStore& store, const std::string& caption,
                      const std::function<void(TResultsStore&)>& work = {});

  TReactionBook book_;
  std::string numberEntry_;
  TMyPrinter printer_;
};
