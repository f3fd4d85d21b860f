#include "model/answer_record.h"

#include <array>

#include "model/reaction.h"

namespace {

constexpr std::array<std::string_view, kCoachingStepCount> kStepNames = {
    "oxidation number", "dissociation", "wrong substance", "missing substance"};
constexpr std::array<std::string_view, 4> kEndingNames = {"right", "right after coaching",
                                                          "answer shown", "quit"};

}  // namespace

std::string_view CoachingStepName(TCoachingStep step) {
  return kStepNames[static_cast<std::size_t>(step)];
}

bool CoachingStepFromName(std::string_view name, TCoachingStep& step) {
  for (std::size_t i = 0; i < kStepNames.size(); ++i) {
    if (kStepNames[i] != name) continue;
    step = static_cast<TCoachingStep>(i);
    return true;
  }
  return false;
}

std::string_view EndingName(TEnding ending) {
  return kEndingNames[static_cast<std::size_t>(ending)];
}

bool EndingFromName(std::string_view name, TEnding& ending) {
  for (std::size_t i = 0; i < kEndingNames.size(); ++i) {
    if (kEndingNames[i] != name) continue;
    ending = static_cast<TEnding>(i);
    return true;
  }
  return false;
}
