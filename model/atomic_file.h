#pragma once
#include <cstddef>
#include <string>

// Why a file could not be written: callers tell the user in their own words what went wrong.
enum class WriteFailure {
  None,
  CannotCreate,    // no file can be made beside it (folder gone, read-only, no room)
  WriteProtected,  // the file exists and no one may write to it: it is left alone
  CannotWrite,     // the data did not all reach the disk
  CannotReplace,   // the finished copy could not take the file's place
  Busy,            // another program was saving it for longer than a writer waits
};

class TFileLock;

struct TWriteError {
  WriteFailure kind = WriteFailure::None;
  int errnum = 0;    // the system's error number, 0 when none applies
  std::string text;  // what failed, for a message ("Cannot write ...: No space left on device")
};

// Replaces the file at path with size bytes of data, whole or not at all: the data go to a
// temporary file beside it, are flushed to disk and renamed over it. A link is followed, so
// the file it names is replaced; the old file's mode is kept, a new one gets 0666 less the
// umask. A file whose mode gives no one the right to write is refused (write protection is
// read from the mode bits, so it holds for every user, root included). On failure (false)
// error says why, the old file is as it was and no temporary file is left; a temporary file
// left by a save that was killed is removed by the next one that succeeds.
// The file's lock (TFileLock) is held from the checks to the rename: the caller's, when it holds
// it already (to check the file before replacing it), else one taken here.
bool WriteFileAtomically(const std::string& path, const unsigned char* data, std::size_t size,
                         TWriteError* error, const TFileLock* held = nullptr);
bool WriteFileAtomically(const std::string& path, const unsigned char* data, std::size_t size,
                         std::string* error = nullptr);

// True when the file exists and its mode gives no one the right to write it.
bool IsWriteProtected(const std::string& path);

// Copies the file at path to the first free name of path + suffix, path + suffix + ".2", ...
// never replacing a file; savedAs gets the name used. False (with error) when no copy was made.
bool KeepCopyBeside(const std::string& path, const std::string& suffix, std::string& savedAs,
                    std::string* error = nullptr);
