#include "tests/support/message_expectation.h"

#include <utility>

namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

bool Offers(MbButtons buttons, int answer) {
  switch (buttons) {
    case MbButtons::Ok:
      return answer == IDOK;
    case MbButtons::YesNo:
      return answer == IDYES || answer == IDNO;
    case MbButtons::YesNoCancel:
      return answer == IDYES || answer == IDNO || answer == IDCANCEL;
  }
  return false;
}

}  // namespace

std::string ToString(MbIcon icon) {
  switch (icon) {
    case MbIcon::Exclamation:
      return "exclamation";
    case MbIcon::Information:
      return "information";
    case MbIcon::Question:
      return "question";
    case MbIcon::Success:
      return "success";
  }
  return "?";
}

std::string ToString(MbButtons buttons) {
  switch (buttons) {
    case MbButtons::Ok:
      return "OK";
    case MbButtons::YesNo:
      return "Yes/No";
    case MbButtons::YesNoCancel:
      return "Yes/No/Cancel";
  }
  return "?";
}

std::string DescribeMessage(const TMessageBoxRequest& request) {
  return "message box " + Quoted(request.text) + " (caption " + Quoted(request.caption) + ", " +
         ToString(request.icon) + " icon, " + ToString(request.buttons) + ")";
}

TMessageExpectation::TMessageExpectation(std::string text, std::string caption)
    : TExpectation(Message), text_(std::move(text)), caption_(std::move(caption)) {}

TMessageExpectation& TMessageExpectation::Answer(int button) {
  answer_ = button;
  return *this;
}

TMessageExpectation& TMessageExpectation::WithIcon(MbIcon icon) {
  icon_ = icon;
  return *this;
}

TMessageExpectation& TMessageExpectation::WithButtons(MbButtons buttons) {
  buttons_ = buttons;
  return *this;
}

TMessageExpectation& TMessageExpectation::WithDefault(int button) {
  defaultButton_ = button;
  return *this;
}

std::string TMessageExpectation::Describe() const {
  std::string description = "message box " + Quoted(text_) + " (caption " + Quoted(caption_);
  if (icon_) description += ", " + ToString(*icon_) + " icon";
  if (buttons_) description += ", " + ToString(*buttons_);
  if (defaultButton_) description += ", default " + std::to_string(*defaultButton_);
  return description + ")";
}

std::string TMessageExpectation::Mismatch(const TMessageBoxRequest& request) const {
  std::string problems;
  if (request.text != text_)
    problems +=
        "\n  text:    expected " + Quoted(text_) + "\n           actual " + Quoted(request.text);
  if (request.caption != caption_)
    problems += "\n  caption: expected " + Quoted(caption_) + ", actual " + Quoted(request.caption);
  if (icon_ && request.icon != *icon_)
    problems += "\n  icon:    expected " + ToString(*icon_) + ", actual " + ToString(request.icon);
  if (buttons_ && request.buttons != *buttons_)
    problems +=
        "\n  buttons: expected " + ToString(*buttons_) + ", actual " + ToString(request.buttons);
  if (defaultButton_ && request.defaultButton != *defaultButton_)
    problems += "\n  default: expected " + std::to_string(*defaultButton_) + ", actual " +
                std::to_string(request.defaultButton);
  return problems;
}

std::string TMessageExpectation::AnswerProblem(const TMessageBoxRequest& request) const {
  if (Offers(request.buttons, answer_)) return {};
  return "the test answers " + std::to_string(answer_) + " but the box only offers " +
         ToString(request.buttons);
}
