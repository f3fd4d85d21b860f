#pragma once
#include <cstddef>
#include <string>

// Replaces the file at path with size bytes of data, whole or not at all: the data go to a
// temporary file beside it, are flushed to disk and renamed over it. A link is followed, so
// the file it names is replaced; the old file's mode is kept, a new one gets 0666 less the
// umask. On failure (false) error says why, the old file is as it was and no temporary file is
// left; a temporary file left by a save that was killed is removed by the next one that
// succeeds.
bool WriteFileAtomically(const std::string& path, const unsigned char* data, std::size_t size,
                         std::string* error = nullptr);
