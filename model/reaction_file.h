#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/atomic_file.h"
#include "model/file_stamp.h"
#include "model/reaction.h"

// The reaction file: a header of kReactionHeaderSize bytes holding the count of reactions
// (little-endian), then that many records of kReactionRecordSize bytes. Everything that
// reads or writes the framing (the reader and writer here, the bank tool, FileKind) uses
// these.
inline constexpr const char* kReactionFileName = "tarvolin.rxn";
inline constexpr std::size_t kReactionHeaderSize = 4;
inline constexpr std::size_t kReactionRecordSize = 244;

// The count a header holds; header has kReactionHeaderSize bytes.
uint32_t ReactionCountOf(const unsigned char* header);
// The size of a file whose header counts that many reactions, all present.
inline uint64_t ReactionFileSize(uint64_t count) {
  return kReactionHeaderSize + count * kReactionRecordSize;
}
// The whole file's bytes for the list: its header, then its records in list order. The
// list has at most UINT32_MAX reactions.
std::vector<unsigned char> EncodeReactionFile(const TReactionList& list);

enum class ReadResult {
  Ok,
  CannotOpen,  // missing or unreadable: the list is unchanged
  Damaged,     // shorter than its count promises: the complete records were appended
};

// What a read found beside the reactions: why it could not read, and the file as read.
struct TReadInfo {
  int errnum = 0;    // 0 when read; ENOENT when there is no file; else why it cannot be read
  TFileStamp stamp;  // the file as read (exists is false when there was none)
};

// Appends the file's reactions to list, in file order. The file is read whole and parsed by
// ParseReactionFile, the one place that decides what a file holds.
ReadResult ReadReactionFile(TReactionList& list, const std::string& path = kReactionFileName,
                            TReadInfo* info = nullptr);

// The same on bytes already in memory.
ReadResult ParseReactionFile(TReactionList& list, const unsigned char* data, std::size_t size);

// The text a view shows for a read that went wrong (empty for Ok).
std::string ReadResultMessage(ReadResult result, const std::string& path = kReactionFileName);

// Replaces the file with the list's reactions. The old file is replaced atomically, so on
// any failure (returned as false, with a reason in error) it stays exactly as it was.
bool WriteReactionFile(const TReactionList& list, const std::string& path = kReactionFileName,
                       std::string* error = nullptr);
// The same, telling what kind of failure it was, and stamping the file as written before the
// file's lock is let go (held, when the caller holds it, else one taken here), so that the
// stamp is of this file and not of another program's save that came right after.
bool WriteReactionFile(const TReactionList& list, const std::string& path, TWriteError* error,
                       TFileStamp* written, const TFileLock* held = nullptr);

// The byte image of a record and of a whole file, as read and written.
void EncodeReaction(const TReaction& reaction, unsigned char* record);
std::unique_ptr<TReaction> DecodeReaction(const unsigned char* record);
