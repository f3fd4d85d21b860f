#include "model/equation.h"

#include "model/text_surface.h"

void TEquation::Draw(TTextSurface& dc, int& x, int y) const {
  auto separator = [&](std::string_view text) {
    dc.TextOut(x, y, text);
    x += dc.TextWidth(text);
  };
  for (std::size_t i = 0; i < reactants.size(); ++i) {
    reactants[i]->Draw(dc, x, y);
    if (i + 1 < reactants.size())
      separator(" + ");
    else if (arrowEntered)
      separator(" -> ");
  }
  for (std::size_t i = 0; i < products.size(); ++i) {
    products[i]->Draw(dc, x, y);
    if (i + 1 < products.size()) separator(" + ");
  }
}

static void CopyList(TFormulaList& target, const TFormulaList& source) {
  target.clear();
  target.reserve(source.size());
  for (const auto& formula : source) {
    auto copy = std::make_unique<TFormula>();
    copy->symbols = formula->symbols;  // key flags of the copies stay false
    target.push_back(std::move(copy));
  }
}

void TEquation::CopyFrom(const TEquation& source) {
  if (&source == this) return;
  CopyList(reactants, source.reactants);
  CopyList(products, source.products);
  arrowEntered = source.arrowEntered;
  digitKeysOn = source.digitKeysOn;
  elementKeysOn = source.elementKeysOn;
  openParenOn = source.openParenOn;
  closeParenOn = source.closeParenOn;
  plusOn = source.plusOn;
  chargeKeysOn = source.chargeKeysOn;
  arrowOn = source.arrowOn;
}

TFormula* TEquation::CurrentFormula() {
  TFormulaList& side = arrowEntered ? products : reactants;
  return side.empty() ? nullptr : side.back().get();
}

int TEquation::IndexOf(const TFormulaList& side, const TFormula* formula) {
  for (std::size_t i = 0; i < side.size(); ++i)
    if (side[i].get() == formula) return static_cast<int>(i);
  return -1;
}
