#include "model/reaction.h"

#include "model/windows1252.h"

std::string_view ReactionTypeName(int32_t type) {
  static constexpr std::string_view kNames[kReactionTypeCount] = {
      "&Precipitation", "&Acid/Base", "&Redox", "&Complex Ion", "&Miscellaneous"};
  return type >= 0 && type < kReactionTypeCount ? kNames[type] : std::string_view();
}

std::string TypeLabel(int32_t type) {
  std::string label;
  for (char c : ReactionTypeName(type))
    if (c != '&') label += c;
  return label.empty() ? "Type " + std::to_string(type) : label;
}

std::string TReaction::QuestionText() const {
  return Windows1252ToUtf8(Question());
}

TReaction::TReaction(std::string_view questionText, int32_t typeCode) : type(typeCode) {
  SetFieldText(question, kQuestionSize, questionText);
}
