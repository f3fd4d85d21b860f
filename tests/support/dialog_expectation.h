#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tests/support/expectation.h"

class QAbstractButton;
class TDialog;
class TDriver;

// An expected dialog and the script the test runs on it: key presses, custom actions and
// checks, in order. Pressing works as a user's click: a disabled or hidden button does nothing
// (the driver records it).
class TDialogExpectation : public TExpectation {
 public:
  using TMatcher = std::function<bool(TDialog&)>;
  using TKey = std::variant<int, std::string>;  // a button id or its label ("&" ignored)

  TDialogExpectation(TDriver& driver, std::string description, TMatcher matcher);

  std::string Describe() const override { return description_; }
  bool Matches(TDialog& dialog) const { return matcher_(dialog); }

  // Runs the script on the dialog; steps left when it closes are reported.
  void RunScript(TDialog& dialog);

 protected:
  void AddPress(TKey key, bool expectDisabled);
  void AddAction(std::string description, std::function<void(TDialog&)> action);

 private:
  struct TStep {
    std::string description;
    std::function<void(TDialog&)> run;
  };

  void Press(TDialog& dialog, const TKey& key, bool expectDisabled);

  TDriver& driver_;
  std::string description_;
  TMatcher matcher_;
  std::vector<TStep> steps_;
};

// The label or id of a key, for messages.
std::string DescribeKey(const TDialogExpectation::TKey& key);
// The button of a dialog with that id or label; null (and why, in problem) when there is none
// or the label is ambiguous.
QAbstractButton* FindButton(TDialog& dialog, const TDialogExpectation::TKey& key,
                            std::string& problem);
// "dialog 607 (TEquationDialog) "caption"".
std::string DescribeDialog(TDialog& dialog);
