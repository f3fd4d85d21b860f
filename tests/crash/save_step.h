#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// One kind of file that the crash harness saves over and over and kills mid-save: how to write
// version v of its content, and which version a file on disk holds whole. The reaction file is
// one; the quiz heading can be another.
struct TSaveStep {
  std::string name;
  std::string fileName;
  // Writes version v (v >= 1) to path; false when the save reports a failure.
  std::function<bool(const std::string& path, uint32_t v)> save;
  // The version that path holds, exactly and completely, or nothing.
  std::function<std::optional<uint32_t>(const std::string& path)> version;
};

// A reaction list of so many reactions, every record different from version to version,
// saved with WriteReactionFile.
TSaveStep ReactionFileStep(std::size_t reactions);

// The same list written straight over the old file, as a plain "create or truncate" writer
// would: a kill mid-save tears it. The harness must catch that.
TSaveStep InPlaceReactionStep(std::size_t reactions);

// The quiz heading, saved with WriteHeadingFile: "Heading, version v" and a line of its own.
TSaveStep HeadingFileStep();
