#pragma once
#include <memory>
#include <string>

#include "keypad/edit_substance_dialog.h"

// Adds a substance that is missing on one side of the student's equation: the student builds
// it on the keypad and OK adds it (filling an empty last formula rather than adding another);
// "&Answer" discards it. Returns 1 when the student went on, 2 for "&Answer".
class TAddSubstanceDialog : public TEditSubstanceDialog {
  Q_OBJECT

 public:
  TAddSubstanceDialog(QWidget* parent, const TReaction& reaction, TEquation* equation,
                      bool reactantSide);

 protected:
  void CmOk() override;
  void CmCancel() override;
  std::string FirstLineText() const override;
  std::string SecondLineText() const override;
  TFormula* ChooseEditedFormula() override;

 private:
  void DiscardNewFormula();

  std::unique_ptr<TFormula> newFormula_;
};
