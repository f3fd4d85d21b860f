#pragma once
#include <QIcon>

#include "ui/frame_window.h"
#include "ui/resources/command_ids.h"

class TQuizWindow;
class TReactWindow;

// The main window, "Writing Tarvolin Equations": carries the quiz view and the reaction editor
// view, one of them the client at a time, and handles only Exit, help and the switch between
// the two modes; every other command goes to the client view.
class TFrame : public TFrameWindow {
  Q_OBJECT

 public:
  static constexpr int kCmEditReactions = CommandId::kEditReactions;
  static constexpr int kCmStartReactions = CommandId::kStartReactions;
  static constexpr int kCmHelpIndex = CommandId::kHelpIndex;
  static constexpr int kCmHelpOnHelp = CommandId::kHelpOnHelp;
  static constexpr int kCmExit = CommandId::kExit;

  explicit TFrame(QWidget* parent = nullptr);

  TQuizWindow* QuizView() const { return quizView_; }
  TReactWindow* EditorView() const { return editorView_; }
  bool HelpIndexOpened() const { return helpIndexOpened_; }
  bool HelpOnHelpOpened() const { return helpOnHelpOpened_; }

  // Icon 1: a flask over the program's initial.
  static QIcon Icon();

 protected:
  void SetupWindow() override;
  // Asks first when the editor holds an unsaved change; closes the help files this session
  // opened.
  bool CanClose() override;

 private:
  void CmExit();
  void CmEditReactions();
  void CmStartReactions();
  void CmHelpIndex();
  void CmHelpOnHelp();
  // The caption says when the reaction list is unsaved or its file could not be read.
  void UpdateCaption();

  // Made before the quiz view: each reads the reaction file, and the editor's reading comes first.
  TReactWindow* editorView_;
  TQuizWindow* quizView_;
  bool helpIndexOpened_ = false;
  bool helpOnHelpOpened_ = false;
};
