#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// What a file was when it was read, so that a later save can tell whether someone else has
// changed it since. Size, modification time and inode tell most changes apart; the hash of
// the bytes settles a tie (a change within the file system's clock tick, the same size).
struct TFileStamp {
  bool exists = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedNs = 0;
  uint64_t hash = 0;

  // The file at path now, with the hash of bytes (the file's content as just read or written).
  static TFileStamp Of(const std::string& path, const unsigned char* bytes, std::size_t size);
  // No file at all was there.
  static TFileStamp Missing() { return {}; }

  // True when the file at path is still the one this stamp describes (or still absent).
  bool Matches(const std::string& path) const;
};

uint64_t HashBytes(const unsigned char* bytes, std::size_t size);
