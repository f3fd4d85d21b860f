#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/streamable_base.h"
#include "model/substance.h"

enum ReactionType : int32_t {
  Precipitation = 0,
  AcidBase = 1,
  Redox = 2,
  ComplexIon = 3,
  Miscellaneous = 4,
};
constexpr int kReactionTypeCount = 5;
// The names shown for codes 0..4 (with their accelerator marks); empty for other codes.
std::string_view ReactionTypeName(int32_t type);
// The type's name as text outside a menu or button, without the accelerator mark ("Acid/Base");
// "Type 9" for a code that names no type.
std::string TypeLabel(int32_t type);

// One question: its text, its type and the correct answer, five substances a side.
class TReaction : public TStreamableBase {
 public:
  static constexpr std::size_t kQuestionSize = 100;
  static constexpr int kSlots = 5;

  TReaction(std::string_view questionText, int32_t typeCode);

  // The question as stored (Windows-1252 bytes).
  std::string_view Question() const { return FieldText(question, kQuestionSize); }
  // The question as text to show or send anywhere (UTF-8).
  std::string QuestionText() const;
  Substance* Side(bool reactant) { return reactant ? reactants : products; }
  const Substance* Side(bool reactant) const { return reactant ? reactants : products; }

  char question[kQuestionSize] = {};
  Substance reactants[kSlots];
  Substance products[kSlots];
  int32_t type = 0;
};

using TReactionList = std::vector<std::unique_ptr<TReaction>>;
