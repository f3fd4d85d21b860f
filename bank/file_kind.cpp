#include "bank/file_kind.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "model/reaction_file.h"

namespace {

bool Look(const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ReadCount(std::ifstream& in, uint32_t& count) {
  unsigned char header[kReactionHeaderSize];
  if (!in.read(reinterpret_cast<char*>(header), kReactionHeaderSize)) return false;
  count = ReactionCountOf(header);
  return true;
}

}  // namespace

TFileKind FileKind(const std::string& path) {
  struct stat info {};
  if (!Look(path, info)) return TFileKind::Missing;
  std::ifstream in(path, std::ios::binary);
  if (!in) return TFileKind::Missing;
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  uint32_t count = 0;
  if (size >= kReactionHeaderSize && ReadCount(in, count) && size == ReactionFileSize(count))
    return TFileKind::ReactionFile;
  if (size == 0) return TFileKind::Other;
  return HoldsZeroByte(path) ? TFileKind::Other : TFileKind::TextBank;
}

bool HoldsZeroByte(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> block(1 << 16);
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
    if (std::memchr(block.data(), 0, static_cast<std::size_t>(in.gcount()))) return true;
    if (in.eof()) break;
  }
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string NotAReactionFile(uint64_t size, uint32_t count) {
  if (size < kReactionHeaderSize)
    return "it is " + std::to_string(size) +
           " bytes long, shorter than the count a reaction "
           "file begins with";
  const uint64_t present = (size - kReactionHeaderSize) / kReactionRecordSize;
  if (size == ReactionFileSize(count)) return {};
  // A reaction file that was cut short or had bytes added keeps a count of its own size; a text
  // or any other file has a non-zero fourth byte, a count that would need a file of over 4 GB.
  if (count > 0xFFFFFF)
    return "its count (" + std::to_string(count) + " reactions) cannot match its length (" +
           std::to_string(size) + " bytes)";
  if (present == 0)
    return "it holds no complete reaction (" + std::to_string(size) + " bytes; a reaction is " +
           std::to_string(kReactionRecordSize) + ")";
  return {};
}

std::string NotAReactionFile(const std::string& path) {
  struct stat info {};
  if (!Look(path, info)) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  uint32_t count = 0;
  if (!ReadCount(in, count)) count = 0;
  return NotAReactionFile(static_cast<uint64_t>(info.st_size), count);
}
