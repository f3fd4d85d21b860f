#include "tests/crash/save_step.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/reaction_file.h"
#include "print/heading_file.h"

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
  step.name = "reaction file of " + std::to_string(reactions) + " reactions";
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

TSaveStep InPlaceReactionStep(std::size_t reactions) {
  TSaveStep step = ReactionFileStep(reactions);
  step.name += ", written in place";
  step.save = [reactions](const std::string& path, uint32_t v) {
    std::vector<unsigned char> bytes(4 + reactions * kReactionRecordSize);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(reactions >> (8 * i));
    for (std::size_t k = 0; k < reactions; ++k)
      EncodeReaction(*VersionReaction(v, k), bytes.data() + 4 + k * kReactionRecordSize);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    // In pieces, as a writer going record by record would, so that a kill can fall in between.
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += 4096) {
      const std::size_t piece = std::min<std::size_t>(4096, bytes.size() - at);
      ok = ::write(fd, bytes.data() + at, piece) == static_cast<ssize_t>(piece);
    }
    return ::close(fd) == 0 && ok;
  };
  return step;
}

TSaveStep HeadingFileStep() {
  const auto text = [](uint32_t v) {
    return "Heading, version " + std::to_string(v) + "\nName: __________   Date: ______ " +
           std::to_string(v);
  };
  TSaveStep step;
  step.name = "heading file of two lines";
  step.fileName = kHeadingFileName;
  step.save = [text](const std::string& path, uint32_t v) {
    return WriteHeadingFile(text(v), path);
  };
  step.version = [text](const std::string& path) -> std::optional<uint32_t> {
    std::string found;
    unsigned v = 0;
    if (!ReadHeadingFile(found, path) ||
        std::sscanf(found.c_str(), "Heading, version %u", &v) != 1 || found != text(v))
      return std::nullopt;
    return v;
  };
  return step;
}
