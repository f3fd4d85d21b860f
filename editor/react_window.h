#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "editor/my_check.h"
#include "editor/type_flags.h"
#include "model/question_record.h"
#include "model/reaction.h"
#include "print/my_printer.h"
#include "ui/window.h"

// The reaction editor view: every stored reaction listed by type with its question, its
// equation and a check box, a Display filter on the types, and Add, Change and Delete, each of
// which rewrites the reaction file whole.
class TReactWindow : public TWindow {
  Q_OBJECT

 public:
  static constexpr int kCmPrintQuiz = 155;
  static constexpr int kCmAdd = 201;
  static constexpr int kCmChange = 202;
  static constexpr int kCmDelete = 203;
  static constexpr int kCmDisplay = 502;
  static constexpr int kFirstCheckId = 1000;

  // Reads the reaction file of the working folder.
  explicit TReactWindow(QWidget* parent);
  ~TReactWindow() override;

  const TReactionList& AllReactions() const { return allReactions; }
  const TReactionList& ShownReactions() const { return shownReactions; }
  const std::vector<std::unique_ptr<TMyCheck>>& CheckBoxes() const { return checkBoxes; }
  TMyCheck* CheckBox(std::size_t row) const;
  const TTypeFlags& TypeFilter() const { return typeFilter; }
  // The line height of the listing: the height of "X" in the view's font.
  int LineHeight() const;

  // Refills the listing from allReactions; recreate also makes every check box anew, unticked.
  void RebuildList(bool recreate);
  // One more unticked box below the last.
  void AddCheckBox();

  void CmAdd();
  void CmChange();
  void CmDelete();
  void CmDisplay();
  void CmPrintQuiz();
  TMyPrinter& Printer() { return printer; }

  void AddReaction(const QuestionRecord& record, const TTypeFlags& flags);
  // Changes the stored reaction at index target of allReactions.
  void ChangeReaction(const QuestionRecord& record, const TTypeFlags& flags, std::size_t target,
                      bool changeAll);
  // Writes allReactions to the reaction file; false (after telling the user) when it failed.
  bool SaveReactions();

  std::string HelpTopic() const override { return "editor"; }

 protected:
  void SetupWindow() override;
  void Paint(TDC& dc) override;
  void EvLButtonDown(const QPoint& client) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool AllTypesListed() const;
  // Asks for a listed reaction's number until a valid one or Cancel; the row, 0-based.
  bool AskReactionNumber(std::size_t& row);
  // Marks follow their reactions through a change of the listing.
  std::vector<const TReaction*> MarkedReactions() const;
  void RestoreMarks(const std::vector<const TReaction*>& marked);
  void AfterChange(const std::vector<const TReaction*>& marked);
  // Keeps the bytes of a damaged file before its first rewrite; false when that failed.
  bool KeepDamagedFile(std::string& savedAs);

  TReactionList allReactions;
  TReactionList shownReactions;
  // For each listed row, the index in allReactions of the reaction it shows.
  std::vector<std::size_t> shownIndex;
  std::vector<std::unique_ptr<TMyCheck>> checkBoxes;
  TTypeFlags typeFilter = {1, 1, 1, 1, 1};
  std::string changeEntry;
  int32_t lastAddedType = Precipitation;
  bool readFromDamagedFile = false;
  TMyPrinter printer;
};
