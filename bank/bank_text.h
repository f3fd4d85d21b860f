#pragma once
#include <memory>
#include <string>
#include <vector>

#include "model/reaction.h"

// The text form of a reaction list, one reaction a line:
//
//   TYPE | QUESTION | REACTANTS -> PRODUCTS
//
// TYPE is Precipitation, AcidBase, Redox, ComplexIon or Miscellaneous (any case; "Acid/Base"
// and "Complex Ion" too), or the type code as a number. QUESTION is UTF-8 and is stored in
// Windows-1252; it runs from the first "|" to the last, so it may itself hold "|", and it is
// written in double quotes when it begins or ends with blanks or is quoted itself (one pair of
// outer quotes is taken off on reading). Substances are separated by "+" and keep their slot:
// "_" stands for an empty slot. A charge follows its formula in braces: Ag{+}, SO4{2-},
// Fe{3+}; {1+} reads as {+}. Blank lines and lines starting with "#" are skipped.
//
// These two functions only carry the form; whether an answer is right chemistry and can be keyed
// is for the checks.

// One line to a reaction; false with a reason when the line is not in the form.
bool ParseBankLine(const std::string& line, std::unique_ptr<TReaction>& reaction,
                   std::string& reason);

// A reaction to its line. False with a reason when the form cannot carry the reaction exactly
// (a text with no end, a line break in the question, a formula with characters no formula has).
// Bytes after the end of a text, which a reaction file keeps but nothing reads, are not
// carried: each field that holds any adds a note.
bool FormatBankLine(const TReaction& reaction, std::string& line, std::string& reason,
                    std::vector<std::string>& notes);

// "Precipitation" ... "Miscellaneous" for codes 0..4, the number otherwise.
std::string TypeText(int32_t type);

// The substance as the text form writes it: "SO4{2-}", "_" for an empty slot.
std::string SubstanceText(const Substance& substance);
