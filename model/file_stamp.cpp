#include "model/file_stamp.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool StatOf(const std::string& path, TFileStamp& stamp) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  stamp.exists = true;
  stamp.device = static_cast<uint64_t>(info.st_dev);
  stamp.inode = static_cast<uint64_t>(info.st_ino);
  stamp.size = static_cast<uint64_t>(info.st_size);
  stamp.modifiedNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return true;
}

}  // namespace

uint64_t HashBytes(const unsigned char* bytes, std::size_t size) {
  // FNV-1a: enough to tell two versions of one file apart, not meant against an adversary.
  uint64_t hash = 14695981039346656037ull;
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 1099511628211ull;
  }
  return hash;
}

TFileStamp TFileStamp::Of(const std::string& path, const unsigned char* bytes, std::size_t size) {
  TFileStamp stamp;
  if (!StatOf(path, stamp)) return stamp;
  stamp.hash = HashBytes(bytes, size);
  return stamp;
}

bool TFileStamp::Matches(const std::string& path) const {
  TFileStamp now;
  if (!StatOf(path, now)) return !exists;
  if (!exists || now.device != device || now.inode != inode || now.size != size ||
      now.modifiedNs != modifiedNs)
    return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  return HashBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) == hash;
}
