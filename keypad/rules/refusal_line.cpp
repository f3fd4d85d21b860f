#include "keypad/rules/refusal_line.h"

#include <algorithm>

namespace {

std::string QuotedCharacter(const std::string& character) {
  return "\"" + character + "\"";
}

// Every character once, in order, each reason once after its characters.
std::string Grouped(const std::vector<TKeyboardInput::Refusal>& refusals) {
  std::vector<std::string> reasons;
  for (const auto& refusal : refusals)
    if (std::find(reasons.begin(), reasons.end(), refusal.reason) == reasons.end())
      reasons.push_back(refusal.reason);
  std::string line;
  for (const std::string& reason : reasons) {
    std::vector<std::string> characters;
    for (const auto& refusal : refusals)
      if (refusal.reason == reason &&
          std::find(characters.begin(), characters.end(), refusal.character) == characters.end())
        characters.push_back(refusal.character);
    std::string group;
    for (const std::string& character : characters)
      group += (group.empty() ? "" : ", ") + QuotedCharacter(character);
    line += (line.empty() ? "" : "; ") + group + " refused: " + reason;
  }
  return line;
}

}  // namespace

std::string RefusalLine(const std::vector<TKeyboardInput::Refusal>& refusals,
                        const std::function<bool(std::string_view)>& fits) {
  if (refusals.empty()) return {};
  const std::string all = Grouped(refusals);
  if (refusals.size() == 1 || fits(all)) return all;
  const std::string first = QuotedCharacter(refusals.front().character) +
                            " refused: " + refusals.front().reason + " (and " +
                            std::to_string(refusals.size() - 1) + " more";
  std::string named = first + ":";
  for (std::size_t i = 1; i < refusals.size(); ++i)
    named += (i == 1 ? " " : ", ") + QuotedCharacter(refusals[i].character);
  named += ")";
  if (fits(named)) return named;
  return first + ")";
}
