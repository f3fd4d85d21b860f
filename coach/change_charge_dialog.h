#pragma once
#include <string>

#include "ui/dialog.h"

class TAnswerWindow;
class TComboBox;
class TFormula;
class TStaticWindow;

// Tells the student that a substance has the right formula but the wrong oxidation number and
// lets them pick another until it is right. Every pick changes the student's substance at once,
// right or wrong. Closes with 1 on a right pick, 2 on "&Answer".
class TChangeChargeDialog : public TDialog {
  Q_OBJECT

 public:
  // correctCharge is in decimal form ("3", "-2", "0").
  TChangeChargeDialog(QWidget* parent, TAnswerWindow* equationWindow, std::string correctCharge,
                      TFormula* substance);

  TStaticWindow* MessagePanel() const { return messagePanel_; }
  TComboBox* ChargeList() const;

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  TAnswerWindow* equationWindow_;
  std::string correctCharge_;
  TFormula* substance_;
  TStaticWindow* messagePanel_;
};
