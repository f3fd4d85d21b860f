#include "model/reaction.h"

std::string_view ReactionTypeName(int32_t type) {
  static constexpr std::string_view kNames[kReactionTypeCount] = {
      "&Precipitation", "&Acid/Base", "&Redox", "&Complex Ion", "&Miscellaneous"};
  return type >= 0 && type < kReactionTypeCount ? kNames[type] : std::string_view();
}

TReaction::TReaction(std::string_view questionText, int32_t typeCode) : type(typeCode) {
  SetFieldText(question, kQuestionSize, questionText);
}
