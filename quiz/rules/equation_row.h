#pragma once
#include "model/comparison_table.h"
#include "model/text_surface.h"

// Writes one equation row of a comparison table (charges already in display form) piece by
// piece from (x, y): each formula character on its own, digits 1-9 as subscripts and a shown
// charge as a script raised above the line (h/3 off it where scripts are set full size), " + "
// between substances and " -> " after the last reactant. Empty rows leave no trace. x ends after
// the last piece.
void DrawEquationRow(TTextSurface& surface, const ComparisonTable& table, int& x, int y);
