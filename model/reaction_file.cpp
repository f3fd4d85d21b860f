#include "model/reaction_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "model/file_lock.h"

namespace {

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
  if (size < kReactionHeaderSize) return ReadResult::Damaged;
  // The count is not trusted: only records wholly present in the data are taken.
  const uint64_t count = ReactionCountOf(data);
  const uint64_t present = (size - kReactionHeaderSize) / kReactionRecordSize;
  const uint64_t records = count < present ? count : present;
  list.reserve(list.size() + records);
  for (uint64_t r = 0; r < records; ++r)
    list.push_back(DecodeReaction(data + kReactionHeaderSize + r * kReactionRecordSize));
  // Bytes beyond the counted records would be lost on the next save: the file is not sound.
  const bool exact = size == ReactionFileSize(count);
  return records < count || !exact ? ReadResult::Damaged : ReadResult::Ok;
}

namespace {

// The whole file, or false with errno set.
bool ReadWhole(const std::string& path, std::vector<unsigned char>& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool stated = fstat(fd, &info) == 0;
  if (!stated || !S_ISREG(info.st_mode)) {
    const int why = !stated ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = why;
    return false;
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t got = 0;
  for (;;) {
    if (got == bytes.size()) bytes.resize(got + 4096);  // the file may have grown meanwhile
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int why = errno;
      ::close(fd);
      errno = why;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return true;
}

}  // namespace

ReadResult ReadReactionFile(TReactionList& list, const std::string& path, TReadInfo* info) {
  std::vector<unsigned char> bytes;
  if (!ReadWhole(path, bytes)) {
    if (info) {
      info->errnum = errno;
      info->stamp = TFileStamp::Missing();
      // Something is there that could not be read: remember it, so it is never replaced.
      struct stat there {};
      info->stamp.exists = ::stat(path.c_str(), &there) == 0;
    }
    return ReadResult::CannotOpen;
  }
  if (info) {
    info->errnum = 0;
    info->stamp = TFileStamp::Of(path, bytes.data(), bytes.size());
  }
  return ParseReactionFile(list, bytes.data(), bytes.size());
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

uint32_t ReactionCountOf(const unsigned char* header) {
  return GetU32(header);
}

std::vector<unsigned char> EncodeReactionFile(const TReactionList& list) {
  std::vector<unsigned char> bytes(ReactionFileSize(list.size()));
  PutU32(bytes.data(), static_cast<uint32_t>(list.size()));
  for (std::size_t r = 0; r < list.size(); ++r)
    EncodeReaction(*list[r], bytes.data() + kReactionHeaderSize + r * kReactionRecordSize);
  return bytes;
}

bool WriteReactionFile(const TReactionList& list, const std::string& path, TWriteError* error,
                       TFileStamp* written, const TFileLock* held) {
  if (list.size() > UINT32_MAX) {
    if (error) *error = {WriteFailure::CannotWrite, EFBIG, "Too many reactions for " + path};
    return false;
  }
  const std::vector<unsigned char> bytes = EncodeReactionFile(list);

  // Held until the new file's stamp is taken, so that no other save lands in between.
  std::optional<TFileLock> own;
  if (!TFileLock::TakeUnlessHeld(path, held, own, error)) return false;
  if (own) held = &*own;
  if (!WriteFileAtomically(path, bytes.data(), bytes.size(), error, held)) return false;
  if (written) *written = TFileStamp::Of(path, bytes.data(), bytes.size());
  return true;
}

bool WriteReactionFile(const TReactionList& list, const std::string& path, std::string* error) {
  TWriteError failure;
  const bool ok = WriteReactionFile(list, path, &failure, nullptr);
  if (!ok && error) *error = failure.text;
  return ok;
}
