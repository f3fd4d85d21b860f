#pragma once
#include <string>
#include <vector>

#include "ui/dialog.h"

// A dialog on a template, with any extra controls, that counts its set-ups, its OKs and the
// commands 146 and 205 it handles.
class TCountingDialog : public TDialog {
 public:
  explicit TCountingDialog(const std::string& name, std::vector<TControlTemplate> extra = {})
      : TDialog(nullptr, name, extra) {
    Bind(146, [this] { commands.push_back(146); });
    Bind(205, &TCountingDialog::CmRestart);
  }
  std::vector<int> commands;
  int setups = 0;
  int oks = 0;

 protected:
  void SetupWindow() override {
    TDialog::SetupWindow();
    ++setups;
  }
  void CmOk() override {
    ++oks;
    TDialog::CmOk();
  }
  void CmRestart() { commands.push_back(205); }
};
