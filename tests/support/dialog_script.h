#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "tests/support/dialog_expectation.h"

// The script of a dialog of class T: steps chain, and Do and Check get the dialog as a T.
//   driver.ExpectDialog<TEquationDialog>()
//         .Press({"Ag", "1+", "+", "Cl", "1-", "->", "AgCl"})
//         .Check([](TEquationDialog& d) { EXPECT_TRUE(d.IsButtonEnabled(1)); })
//         .Press(1);
template <class T>
class TDialogScript : public TDialogExpectation {
 public:
  using TDialogExpectation::TDialogExpectation;

  TDialogScript& Press(int id) {
    AddPress(id, false);
    return *this;
  }
  TDialogScript& Press(std::string_view label) {
    AddPress(std::string(label), false);
    return *this;
  }
  TDialogScript& Press(std::initializer_list<std::string_view> labels) {
    for (std::string_view label : labels) AddPress(std::string(label), false);
    return *this;
  }
  // Fails the test unless the button is disabled or hidden; presses nothing.
  TDialogScript& PressExpectingDisabled(int id) {
    AddPress(id, true);
    return *this;
  }
  TDialogScript& PressExpectingDisabled(std::string_view label) {
    AddPress(std::string(label), true);
    return *this;
  }
  // A custom action: choosing a combo item, clicking in a child window, ticking a box.
  TDialogScript& Do(std::function<void(T&)> action) {
    AddAction("custom action",
              [action = std::move(action)](TDialog& d) { action(static_cast<T&>(d)); });
    return *this;
  }
  // Assertions on the dialog at this point of the script.
  TDialogScript& Check(std::function<void(T&)> check) {
    AddAction("check", [check = std::move(check)](TDialog& d) { check(static_cast<T&>(d)); });
    return *this;
  }
};
