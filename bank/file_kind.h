#pragma once
#include <cstdint>
#include <string>

// What a file holds, told by its content rather than its name, so that the tool never writes a
// bank's text over a reaction file or the other way round when two names are swapped.
enum class TFileKind {
  Missing,       // there is no file (or it cannot be looked at)
  ReactionFile,  // a count and exactly the records it names
  TextBank,      // not a reaction file, and text: no zero byte anywhere
  Other,         // anything else, an empty file among them
};

TFileKind FileKind(const std::string& path);

// Whether a file holds a zero byte, which no text does and every reaction file with a
// reaction does; false when it cannot be read.
bool HoldsZeroByte(const std::string& path);

// Whether two paths name one file (the same device and inode, links followed).
bool SameFile(const std::string& a, const std::string& b);

// Why bytes whose reaction count is count and whose length is size are plainly not a reaction
// file: shorter than the count, no complete record, or a count that no damage to a reaction
// file could leave beside that length. Empty when they may be a reaction file, damaged or not.
std::string NotAReactionFile(uint64_t size, uint32_t count);

// Why a file cannot be read as one: its count and length as above; empty when it may be one,
// or cannot be opened (the reader says so).
std::string NotAReactionFile(const std::string& path);
