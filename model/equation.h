#pragma once
#include <memory>
#include <vector>

#include "model/formula.h"

using TFormulaList = std::vector<std::unique_ptr<TFormula>>;

// One equation in keyed form, with the equation keypad's key flags.
class TEquation : public TStreamableBase {
 public:
  TEquation() = default;
  TEquation(const TEquation&) = delete;
  TEquation& operator=(const TEquation&) = delete;
  TEquation(TEquation&&) = default;
  TEquation& operator=(TEquation&&) = default;

  void Draw(TTextSurface& dc, int& x, int y) const;
  // Deep copy of both lists, arrowEntered and the seven key flags; the copied formulas'
  // own flags are left false.
  void CopyFrom(const TEquation& source);

  TFormulaList& Side(bool reactant) { return reactant ? reactants : products; }
  const TFormulaList& Side(bool reactant) const { return reactant ? reactants : products; }
  // The formula that keys append to: last product once the arrow is in, else last reactant.
  TFormula* CurrentFormula();
  // Index of formula within its side, or -1.
  static int IndexOf(const TFormulaList& side, const TFormula* formula);

  TFormulaList reactants;
  TFormulaList products;
  bool digitKeysOn = false;
  bool elementKeysOn = false;
  bool openParenOn = false;
  bool closeParenOn = false;
  bool plusOn = false;
  bool chargeKeysOn = false;
  bool arrowOn = false;
  bool arrowEntered = false;
};
