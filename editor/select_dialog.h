#pragma once
#include "model/type_flags.h"
#include "ui/dialog.h"

// "Select Reaction Types": picks any set of types. Always opens with nothing ticked, whatever
// the caller's flags hold; OK writes the ticks (none is a valid answer), Cancel writes nothing.
class TSelectDialog : public TDialog {
  Q_OBJECT

 public:
  TSelectDialog(QWidget* parent, TTypeFlags* flags);

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  TTypeFlags* flags_;
};
