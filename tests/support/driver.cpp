#include "tests/support/driver.h"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/resource_name.h"

TDriver::TDriver() {
  previousRunner_ = SetModalRunner([this](TDialog& dialog) { return RunDialog(dialog); });
  previousHandler_ =
      SetMessageBoxHandler([this](const TMessageBoxRequest& r) { return AnswerMessage(r); });
}

TDriver::~TDriver() {
  Verify();
  SetModalRunner(std::move(previousRunner_));
  SetMessageBoxHandler(std::move(previousHandler_));
}

TDialogScript<TDialog>& TDriver::ExpectDialog(const std::string& templateName) {
  return Enqueue(std::make_unique<TDialogScript<TDialog>>(
      *this, "dialog " + templateName, [templateName](TDialog& dialog) {
        return SameResourceName(dialog.TemplateName(), templateName);
      }));
}

TMessageExpectation& TDriver::ExpectMessage(std::string text, std::string caption) {
  return Enqueue(std::make_unique<TMessageExpectation>(std::move(text), std::move(caption)));
}

void TDriver::Verify() {
  if (queue_.empty()) return;
  std::string left;
  for (const auto& expectation : queue_) left += "\n  " + expectation->Describe();
  ADD_FAILURE() << queue_.size() << " expected dialog(s) or message box(es) never came up:" << left;
  queue_.clear();
}

std::string TDriver::ClassName(const std::type_info& type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : type.name();
  std::free(demangled);
  return name;
}

std::string TDriver::NextDescription() const {
  return queue_.empty() ? "nothing more was expected"
                        : "expected next: " + queue_.front()->Describe();
}

int TDriver::RunDialog(TDialog& dialog) {
  const std::string what = DescribeDialog(dialog);
  log_.push_back(what);
  if (queue_.empty() || queue_.front()->Kind() != TExpectation::Dialog) {
    ADD_FAILURE() << "Unexpected " << what << "; " << NextDescription() << ". It is closed with 2.";
    dialog.CloseWindow(2);
    return 2;
  }
  std::unique_ptr<TExpectation> next = std::move(queue_.front());
  queue_.pop_front();
  auto& expectation = static_cast<TDialogExpectation&>(*next);
  if (!expectation.Matches(dialog)) {
    ADD_FAILURE() << "Expected " << expectation.Describe() << ", but " << what
                  << " came up. It is closed with 2.";
    dialog.CloseWindow(2);
    return 2;
  }
  dialog.show();
  expectation.RunScript(dialog);
  if (!dialog.IsClosed()) {
    ADD_FAILURE() << "The script for " << what
                  << " ended with the dialog still open. It is closed with 2.";
    dialog.CloseWindow(2);
  }
  return dialog.result();
}

int TDriver::AnswerMessage(const TMessageBoxRequest& request) {
  const std::string what = DescribeMessage(request);
  log_.push_back(what);
  if (queue_.empty() || queue_.front()->Kind() != TExpectation::Message) {
    ADD_FAILURE() << "Unexpected " << what << "; " << NextDescription() << ".";
    return DismissedAnswer(request.buttons);
  }
  std::unique_ptr<TExpectation> next = std::move(queue_.front());
  queue_.pop_front();
  auto& expectation = static_cast<TMessageExpectation&>(*next);
  if (std::string mismatch = expectation.Mismatch(request); !mismatch.empty()) {
    ADD_FAILURE() << "The message box that came up is not the one expected:" << mismatch;
  }
  if (std::string problem = expectation.AnswerProblem(request); !problem.empty()) {
    ADD_FAILURE() << "Cannot answer " << what << ": " << problem;
    return DismissedAnswer(request.buttons);
  }
  return expectation.AnswerCode();
}
