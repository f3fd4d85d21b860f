#pragma once
#include <memory>

#include "model/formula.h"
#include "ui/dialog.h"

class TAnswerWindow;
class TBlankWindow;
class TChargeBox;
class TEquation;
class TPelloWindow;
class TSplitWindow;

// Lets the student cut a compound written whole into two species and give each a charge.
// All changes go to a scratch copy of the student's equation, written back only on OK.
// Closes with kOk, kCancel ("&Answer", as in every coaching dialog) or kSkip.
class TSplitItDialog : public TDialog {
  Q_OBJECT

 public:
  static constexpr int kSkip = 5;

  // substance is a formula of equation, on the side reactantSide names.
  TSplitItDialog(QWidget* parent, TFormula* substance, TEquation* equation, bool reactantSide);
  ~TSplitItDialog() override;

  TPelloWindow* MessagePanel() const { return messagePanel_; }
  TSplitWindow* SplitWindow() const { return splitWindow_; }
  TAnswerWindow* EquationWindow() const { return equationWindow_; }
  TEquation* ScratchEquation() const;
  // which is 1 or 2.
  TBlankWindow* SpeciesPanel(int which) const {
    return which == 1 ? species1Panel_ : species2Panel_;
  }
  const TFormula& Species(int which) const { return which == 1 ? species1_ : species2_; }
  // id is 102 (species 1) or 103 (species 2).
  TChargeBox* ChargeBox(int id) const;

 protected:
  void SetupWindow() override;
  void CmOk() override;

 private:
  void CmDissociate();
  void CmSkip() { CloseWindow(kSkip); }
  void ShowSpeciesMessage();

  TFormula* substance_;
  TEquation* equation_;
  bool reactantSide_;
  TFormula species1_;
  TFormula species2_;
  TPelloWindow* messagePanel_;
  TSplitWindow* splitWindow_;
  TAnswerWindow* equationWindow_;
  TBlankWindow* species1Panel_;
  TBlankWindow* species2Panel_;
  std::unique_ptr<TChargeBox> chargeBox1_;
  std::unique_ptr<TChargeBox> chargeBox2_;
};
