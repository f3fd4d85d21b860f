#pragma once
#include <deque>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "tests/support/dialog_script.h"
#include "tests/support/message_expectation.h"
#include "ui/dialog.h"
#include "ui/message_box.h"
#include "ui/modal_run.h"

// Drives dialogs and message boxes for a test. While it lives it answers the modal-run and
// message-box seams from one queue of expectations, in order; nested dialogs and messages
// (a press that opens another dialog or a message box) are served from the same queue.
// Anything unexpected, out of order or left over fails the test.
//
//   TEquationDialog dialog(nullptr, reaction, CheckAnswer);
//   TDriver driver;
//   driver.ExpectDialog<TEquationDialog>()
//       .Press({"Ag", "1+", "+", "Cl", "1-", "->", "Ag", "Cl"})
//       .Press("Check");
//   driver.ExpectMessage("Very good, you have the correct net ionic equation.", "Congratulations");
//   const TQuestionOutcome outcome = dialog.Ask();  // ending RightAtOnce, points 3
//
// A driven dialog is shown but not exec()'d: its script runs at once and Execute returns the
// code it closed with. A script that ends with the dialog open fails and closes it with 2.
class TDriver {
 public:
  TDriver();
  ~TDriver();
  TDriver(const TDriver&) = delete;
  TDriver& operator=(const TDriver&) = delete;

  // A dialog of class T (or derived from it).
  template <class T = TDialog>
  TDialogScript<T>& ExpectDialog() {
    auto expectation = std::make_unique<TDialogScript<T>>(
        *this, "a dialog of class " + ClassName(typeid(T)),
        [](TDialog& dialog) { return dynamic_cast<T*>(&dialog) != nullptr; });
    return Enqueue(std::move(expectation));
  }
  // A dialog built on the named template ("607", "changecharge"; case ignored).
  TDialogScript<TDialog>& ExpectDialog(const std::string& templateName);
  TMessageExpectation& ExpectMessage(std::string text, std::string caption);

  // Fails the test for every expectation not met yet and forgets them.
  void Verify();
  bool AllMet() const { return queue_.empty(); }

  // Presses of disabled or hidden buttons, which did nothing.
  const std::vector<std::string>& IgnoredPresses() const { return ignoredPresses_; }
  // Every dialog and message box that came up, in order.
  const std::vector<std::string>& Log() const { return log_; }

  void RecordIgnoredPress(std::string what) { ignoredPresses_.push_back(std::move(what)); }

 private:
  template <class E>
  E& Enqueue(std::unique_ptr<E> expectation) {
    E& reference = *expectation;
    queue_.push_back(std::move(expectation));
    return reference;
  }
  static std::string ClassName(const std::type_info& type);
  int RunDialog(TDialog& dialog);
  int AnswerMessage(const TMessageBoxRequest& request);
  std::string NextDescription() const;

  std::deque<std::unique_ptr<TExpectation>> queue_;
  std::vector<std::string> ignoredPresses_;
  std::vector<std::string> log_;
  TModalRunner previousRunner_;
  TMessageBoxHandler previousHandler_;
};
