#pragma once
#include <memory>
#include <vector>

#include "model/formula.h"

class TTextSurface;

// The rules of cutting a compound into two species with a line after one of its symbols.
// Nothing here knows where the right cut lies; the grader judges the result afterwards.

// A line after symbol position leaves an element on both sides once they are cleaned, and cuts
// neither an element symbol (capital then small letter) nor into a bracketed group.
bool CanDissociateAt(const TFormula& substance, int position);

// Moves the symbols after position out of first into a new formula, in order.
std::unique_ptr<TFormula> SplitOff(TFormula& first, int position);

// Makes a cut part read as a species: a leading subscript belonged to the other part, brackets
// go, and so does the subscript that multiplied a bracketed group.
void CleanPart(TFormula& part);

// The x of the boundary after each symbol, when the formula is drawn from startX (a symbol
// that is not drawn ends where the one before it does).
std::vector<int> SymbolBoundaries(const TFormula& formula, const TTextSurface& surface, int startX);

// Index of the boundary nearest to x if it lies closer than maxDistance (the earlier one on a
// tie), else -1.
int NearestBoundary(const std::vector<int>& boundaries, int x, int maxDistance = 100);
