#include "tests/support/dialog_expectation.h"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QString>
#include <cstdlib>
#include <memory>
#include <typeinfo>
#include <utility>

#include "tests/support/driver.h"
#include "ui/dialog.h"

namespace {

std::string WithoutMnemonics(const QString& text) {
  std::string plain;
  for (QChar c : text)
    if (c != QLatin1Char('&')) plain += c.toLatin1();
  return plain;
}

std::string ClassName(const TDialog& dialog) {
  const char* mangled = typeid(dialog).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  return status == 0 && demangled ? demangled.get() : mangled;
}

}  // namespace

std::string DescribeKey(const TDialogExpectation::TKey& key) {
  if (const int* id = std::get_if<int>(&key)) return "id " + std::to_string(*id);
  return "\"" + std::get<std::string>(key) + "\"";
}

std::string DescribeDialog(TDialog& dialog) {
  return "dialog " + dialog.TemplateName() + " (" + ClassName(dialog) + ") \"" +
         dialog.windowTitle().toStdString() + "\"";
}

QAbstractButton* FindButton(TDialog& dialog, const TDialogExpectation::TKey& key,
                            std::string& problem) {
  if (const int* id = std::get_if<int>(&key)) {
    auto* button = qobject_cast<QAbstractButton*>(dialog.Control(*id));
    if (!button) problem = "it has no button with id " + std::to_string(*id);
    return button;
  }
  const std::string& label = std::get<std::string>(key);
  QAbstractButton* found = nullptr;
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (WithoutMnemonics(button->text()) != label) continue;
    if (found) {
      problem = "more than one button is labelled \"" + label + "\"; press it by id";
      return nullptr;
    }
    found = button;
  }
  if (!found) problem = "it has no button labelled \"" + label + "\"";
  return found;
}

TDialogExpectation::TDialogExpectation(TDriver& driver, std::string description, TMatcher matcher)
    : TExpectation(Dialog),
      driver_(driver),
      description_(std::move(description)),
      matcher_(std::move(matcher)) {}

void TDialogExpectation::AddPress(TKey key, bool expectDisabled) {
  std::string description =
      (expectDisabled ? "press (expecting it disabled) " : "press ") + DescribeKey(key);
  steps_.push_back({std::move(description), [this, key, expectDisabled](TDialog& dialog) {
                      Press(dialog, key, expectDisabled);
                    }});
}

void TDialogExpectation::AddAction(std::string description, std::function<void(TDialog&)> action) {
  steps_.push_back({std::move(description), std::move(action)});
}

void TDialogExpectation::Press(TDialog& dialog, const TKey& key, bool expectDisabled) {
  std::string problem;
  QAbstractButton* button = FindButton(dialog, key, problem);
  if (!button) {
    ADD_FAILURE() << "Cannot press " << DescribeKey(key) << " in " << DescribeDialog(dialog) << ": "
                  << problem;
    return;
  }
  const bool pressable = button->isEnabled() && button->isVisibleTo(&dialog);
  if (expectDisabled) {
    if (pressable)
      ADD_FAILURE() << "Expected " << DescribeKey(key) << " to be disabled in "
                    << DescribeDialog(dialog) << ", but it is enabled";
    return;
  }
  if (!pressable) {
    driver_.RecordIgnoredPress(DescribeKey(key) + " in " + DescribeDialog(dialog));
    return;
  }
  button->click();
}

void TDialogExpectation::RunScript(TDialog& dialog) {
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    if (dialog.IsClosed()) {
      std::string remaining;
      for (std::size_t j = i; j < steps_.size(); ++j)
        remaining += (j > i ? ", " : "") + steps_[j].description;
      ADD_FAILURE() << DescribeDialog(dialog) << " closed with " << dialog.result()
                    << (i == 0 ? " before its first step" : " after " + steps_[i - 1].description)
                    << ", but steps remain: " << remaining;
      return;
    }
    steps_[i].run(dialog);
  }
}
