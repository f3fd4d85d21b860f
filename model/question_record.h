#pragma once
#include <cstring>
#include <string_view>

#include "model/text_field.h"
#include "model/windows1252.h"

// A question and its answer as texts, filled by the new-question dialog and read by the editor:
// a 100-byte question, then five reactant formula texts, five reactant charge texts, five
// product formula texts and five product charge texts, 10 bytes each. A slot of 10 characters
// has no terminating zero.
struct QuestionRecord {
  static constexpr std::size_t kSize = 300;
  static constexpr std::size_t kQuestionSize = 100;
  static constexpr std::size_t kSlotSize = 10;
  static constexpr int kSlots = 5;

  QuestionRecord() { Clear(); }
  void Clear() { std::memset(bytes, 0, kSize); }

  // The question as stored (Windows-1252 bytes), and as text to show (UTF-8).
  std::string_view Question() const { return FieldText(bytes, kQuestionSize); }
  std::string QuestionText() const { return Windows1252ToUtf8(Question()); }
  std::string_view Formula(bool reactant, int i) const {
    return FieldText(Slot(reactant, false, i), kSlotSize);
  }
  std::string_view Charge(bool reactant, int i) const {
    return FieldText(Slot(reactant, true, i), kSlotSize);
  }

  // At most 99 characters, zero-terminated.
  void SetQuestion(std::string_view text) { SetFieldText(bytes, kQuestionSize, text); }
  // Zero-fills the slot and writes at most 10 characters into it.
  void SetFormula(bool reactant, int i, std::string_view text) {
    SetSlot(Slot(reactant, false, i), text);
  }
  void SetCharge(bool reactant, int i, std::string_view text) {
    SetSlot(Slot(reactant, true, i), text);
  }
  // Empties the twenty formula and charge slots.
  void ClearSlots() { std::memset(bytes + kQuestionSize, 0, kSize - kQuestionSize); }

  char bytes[kSize];

 private:
  static std::size_t Offset(bool reactant, bool charge, int i) {
    return kQuestionSize + (reactant ? 0 : 100) + (charge ? 50 : 0) + kSlotSize * i;
  }
  char* Slot(bool reactant, bool charge, int i) { return bytes + Offset(reactant, charge, i); }
  const char* Slot(bool reactant, bool charge, int i) const {
    return bytes + Offset(reactant, charge, i);
  }
  static void SetSlot(char* slot, std::string_view text) {
    std::memset(slot, 0, kSlotSize);
    std::memcpy(slot, text.data(), text.size() < kSlotSize ? text.size() : kSlotSize);
  }
};
static_assert(sizeof(QuestionRecord) == QuestionRecord::kSize);
