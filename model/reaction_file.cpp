#include "model/reaction_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/atomic_file.h"

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kQuestionOffset = 0;
constexpr std::size_t kTypeOffset = 100;
constexpr std::size_t kSlotOffset = 104;
constexpr std::size_t kSlotStride = 28;  // reactant i and product i lie side by side
constexpr std::size_t kChargeOffset = 10;
constexpr std::size_t kProductOffset = 14;

uint32_t GetU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutU32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

void GetSubstance(const unsigned char* p, Substance& s) {
  std::memcpy(s.formula, p, Substance::kFormulaSize);
  s.charge = static_cast<int32_t>(GetU32(p + kChargeOffset));
}

void PutSubstance(unsigned char* p, const Substance& s) {
  std::memcpy(p, s.formula, Substance::kFormulaSize);
  PutU32(p + kChargeOffset, static_cast<uint32_t>(s.charge));
}

void SetError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
}

}  // namespace

void EncodeReaction(const TReaction& reaction, unsigned char* record) {
  std::memcpy(record + kQuestionOffset, reaction.question, TReaction::kQuestionSize);
  PutU32(record + kTypeOffset, static_cast<uint32_t>(reaction.type));
  for (int i = 0; i < TReaction::kSlots; ++i) {
    unsigned char* slot = record + kSlotOffset + kSlotStride * i;
    PutSubstance(slot, reaction.reactants[i]);
    PutSubstance(slot + kProductOffset, reaction.products[i]);
  }
}

std::unique_ptr<TReaction> DecodeReaction(const unsigned char* record) {
  auto reaction =
      std::make_unique<TReaction>("", static_cast<int32_t>(GetU32(record + kTypeOffset)));
  // The question is copied whole, bytes after its terminator included.
  std::memcpy(reaction->question, record + kQuestionOffset, TReaction::kQuestionSize);
  for (int i = 0; i < TReaction::kSlots; ++i) {
    const unsigned char* slot = record + kSlotOffset + kSlotStride * i;
    GetSubstance(slot, reaction->reactants[i]);
    GetSubstance(slot + kProductOffset, reaction->products[i]);
  }
  return reaction;
}

ReadResult ParseReactionFile(TReactionList& list, const unsigned char* data, std::size_t size) {
  if (size < kHeaderSize) return ReadResult::Damaged;
  // The count is not trusted: only records wholly present in the data are taken.
  const uint64_t count = GetU32(data);
  const uint64_t present = (size - kHeaderSize) / kReactionRecordSize;
  const uint64_t records = count < present ? count : present;
  list.reserve(list.size() + records);
  for (uint64_t r = 0; r < records; ++r)
    list.push_back(DecodeReaction(data + kHeaderSize + r * kReactionRecordSize));
  // Bytes beyond the counted records would be lost on the next save: the file is not sound.
  const bool exact = size == kHeaderSize + count * kReactionRecordSize;
  return records < count || !exact ? ReadResult::Damaged : ReadResult::Ok;
}

ReadResult ReadReactionFile(TReactionList& list, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return ReadResult::CannotOpen;
  struct stat info {};
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
    std::fclose(file);
    return ReadResult::CannotOpen;
  }
  unsigned char header[kHeaderSize];
  if (std::fread(header, 1, kHeaderSize, file) != kHeaderSize) {
    std::fclose(file);
    return ReadResult::Damaged;
  }
  // Records are read in blocks, never more than the file holds, whatever the count says.
  const uint64_t count = GetU32(header);
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  const uint64_t present = size > kHeaderSize ? (size - kHeaderSize) / kReactionRecordSize : 0;
  uint64_t wanted = count < present ? count : present;
  list.reserve(list.size() + wanted);
  constexpr std::size_t kBlockRecords = 4096;
  std::vector<unsigned char> block(kBlockRecords * kReactionRecordSize);
  uint64_t read = 0;
  while (wanted > 0) {
    const std::size_t ask =
        wanted < kBlockRecords ? static_cast<std::size_t>(wanted) : kBlockRecords;
    const std::size_t got = std::fread(block.data(), kReactionRecordSize, ask, file);
    for (std::size_t r = 0; r < got; ++r)
      list.push_back(DecodeReaction(block.data() + r * kReactionRecordSize));
    read += got;
    wanted -= got;
    if (got < ask) break;  // the file shrank or could not be read
  }
  std::fclose(file);
  const bool exact = size == kHeaderSize + count * kReactionRecordSize;
  return read < count || !exact ? ReadResult::Damaged : ReadResult::Ok;
}

std::string ReadResultMessage(ReadResult result, const std::string& path) {
  switch (result) {
    case ReadResult::Ok:
      return {};
    case ReadResult::CannotOpen:
      return "Cannot open " + path;
    case ReadResult::Damaged:
      return "The file " + path +
             " is damaged: its length does not match the number of reactions it says it holds. "
             "The complete reactions were read.";
  }
  return {};
}

bool WriteReactionFile(const TReactionList& list, const std::string& path, std::string* error) {
  if (list.size() > UINT32_MAX) {
    errno = EFBIG;
    SetError(error, "Too many reactions for " + path);
    return false;
  }
  std::vector<unsigned char> bytes(kHeaderSize + list.size() * kReactionRecordSize);
  PutU32(bytes.data(), static_cast<uint32_t>(list.size()));
  for (std::size_t r = 0; r < list.size(); ++r)
    EncodeReaction(*list[r], bytes.data() + kHeaderSize + r * kReactionRecordSize);

  return WriteFileAtomically(path, bytes.data(), bytes.size(), error);
}
