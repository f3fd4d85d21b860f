#pragma once
#include <optional>
#include <string>

#include "tests/support/expectation.h"
#include "ui/message_box.h"

// An expected message box: its exact text and caption, optionally its icon, buttons and default
// button, and the button the test presses (OK unless told otherwise).
class TMessageExpectation : public TExpectation {
 public:
  TMessageExpectation(std::string text, std::string caption);

  TMessageExpectation& Answer(int button);
  TMessageExpectation& WithIcon(MbIcon icon);
  TMessageExpectation& WithButtons(MbButtons buttons);
  // The button Enter presses (IDNO for a question whose Yes cannot be undone).
  TMessageExpectation& WithDefault(int button);

  std::string Describe() const override;
  // Empty when the request is the one expected; else what differs.
  std::string Mismatch(const TMessageBoxRequest& request) const;
  // Empty when the answer is one of the request's buttons; else why not.
  std::string AnswerProblem(const TMessageBoxRequest& request) const;
  int AnswerCode() const { return answer_; }

 private:
  std::string text_;
  std::string caption_;
  std::optional<MbIcon> icon_;
  std::optional<MbButtons> buttons_;
  std::optional<int> defaultButton_;
  int answer_ = IDOK;
};

std::string DescribeMessage(const TMessageBoxRequest& request);
std::string ToString(MbIcon icon);
std::string ToString(MbButtons buttons);
