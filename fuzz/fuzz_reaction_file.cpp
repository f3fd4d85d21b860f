// Feeds arbitrary bytes to the reaction file parser: it must never read past the data, keep
// only whole records, and what it keeps must encode back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/reaction_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly size bytes, so that any read past the end is caught by the sanitizer.
  std::vector<unsigned char> bytes(data, data + size);
  TReactionList list;
  const ReadResult result = ParseReactionFile(list, bytes.data(), bytes.size());
  const std::size_t whole = size >= 4 ? (size - 4) / kReactionRecordSize : 0;
  if (list.size() > whole) std::abort();
  if (result == ReadResult::CannotOpen) std::abort();
  const uint32_t count = size >= 4 ? uint32_t(data[0]) | uint32_t(data[1]) << 8 |
                                         uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24
                                   : 0;
  // Sound only when the file is exactly its header and the records its count names.
  if ((result == ReadResult::Ok) !=
      (size >= 4 && size == 4 + uint64_t(count) * kReactionRecordSize))
    std::abort();
  unsigned char record[kReactionRecordSize];
  for (std::size_t r = 0; r < list.size(); ++r) {
    (void)list[r]->Question();
    for (int i = 0; i < TReaction::kSlots; ++i) {
      if (list[r]->reactants[i].FormulaText().size() > 10) std::abort();
      if (list[r]->products[i].FormulaText().size() > 10) std::abort();
    }
    EncodeReaction(*list[r], record);
    if (std::memcmp(record, data + 4 + r * kReactionRecordSize, sizeof record) != 0) std::abort();
  }
  return 0;
}
