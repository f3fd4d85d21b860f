#include "tests/tools/save_step.h"

#include <cstdio>
#include <cstring>

#include "model/reaction_file.h"

namespace {

std::unique_ptr<TReaction> VersionReaction(uint32_t v, std::size_t k) {
  const std::string question = "Version " + std::to_string(v) + ", reaction " + std::to_string(k);
  auto reaction = std::make_unique<TReaction>(question, static_cast<int32_t>((v + k) % 5));
  reaction->reactants[0].SetFormula("Ag");
  reaction->reactants[0].charge = static_cast<int32_t>(v % 5) + 1;
  reaction->reactants[1].SetFormula("Cl");
  reaction->reactants[1].charge = -static_cast<int32_t>(k % 5) - 1;
  reaction->products[0].SetFormula(k % 2 ? "AgCl" : "Ag2(SO4)3");
  return reaction;
}

}  // namespace

TSaveStep ReactionFileStep(std::size_t reactions) {
  TSaveStep step;
  step.name = "reaction file";
  step.fileName = kReactionFileName;
  step.save = [reactions](const std::string& path, uint32_t v) {
    TReactionList list;
    list.reserve(reactions);
    for (std::size_t k = 0; k < reactions; ++k) list.push_back(VersionReaction(v, k));
    return WriteReactionFile(list, path);
  };
  step.version = [reactions](const std::string& path) -> std::optional<uint32_t> {
    TReactionList list;
    if (ReadReactionFile(list, path) != ReadResult::Ok || list.size() != reactions || list.empty())
      return std::nullopt;
    unsigned v = 0;
    const std::string first(list[0]->Question());
    if (std::sscanf(first.c_str(), "Version %u,", &v) != 1 || v == 0) return std::nullopt;
    // Every record must be the one of that version: a mix of two saves is not a whole file.
    unsigned char want[kReactionRecordSize], got[kReactionRecordSize];
    for (std::size_t k = 0; k < reactions; ++k) {
      EncodeReaction(*VersionReaction(v, k), want);
      EncodeReaction(*list[k], got);
      if (std::memcmp(want, got, kReactionRecordSize) != 0) return std::nullopt;
    }
    return v;
  };
  return step;
}
