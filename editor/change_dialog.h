#pragma once
#include <string>

#include "ui/dialog.h"

// "Change/Delete Reaction": asks for the number of a listed reaction. Works on the caller's
// entry, which it shows on opening and replaces on OK, so a second run shows the last entry.
class TChangeDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kNumberEdit = 101;

  TChangeDialog(QWidget* parent, std::string* entry);

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  std::string* entry_;
};
