// The floors: the system calls that the project's operations make, written by
// hand against the system itself, with every name prepared beforehand. What
// the project costs above its floor is the cost of its own code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

namespace bench {

struct AnnualFiles {
  std::filesystem::path oldFile, newFile;
};

using AnnualRecord = std::array<char, 512>;

// The transfer's own decision: where the new opening inventory (byte 150) is
// zero of either sign, the old closing inventory's bytes (246) go into it.
// True when the new record is to be written.
inline bool CarryOver(AnnualRecord& newRecord, const AnnualRecord& oldRecord) {
  constexpr std::size_t kOpening = 150, kClosing = 246;
  std::uint64_t opening = 0;
  std::memcpy(&opening, newRecord.data() + kOpening, sizeof(opening));
  if ((opening << 1) != 0) return false;
  std::memcpy(newRecord.data() + kOpening, oldRecord.data() + kClosing, sizeof(opening));
  return true;
}

// Per company, the calls of the transfer: the old file's presence, both
// files opened and their first records read, and where the new opening
// inventory is zero the old closing inventory written into it.
void TransferFloor(const std::vector<AnnualFiles>& companies);

// One company's additional file: the old installation's, and the name the
// copy takes in the new one.
struct CopyFiles {
  std::filesystem::path source, target;
};

// The reads of a run of both operations, and nothing else: what no preview
// can do without, since it sees the files only through them. In the run's
// order: the journal looked for (a run reads the one there before it
// appends); per company, the copy's target looked for and its source read
// whole; then per company the transfer's reads, as TransferFloor makes them
// but with both files opened for reading and nothing written.
void RunReadsFloor(const std::filesystem::path& journal, const std::vector<CopyFiles>& copies,
                   const std::vector<AnnualFiles>& annual);

// Opens the register and reads its records until one comes short; gives the
// number of whole records. With `sizeEach`, the file's size is asked before
// each record too, as the load's end-of-file test does.
std::size_t LoadFloor(const std::filesystem::path& registerFile, std::uint32_t recordSize,
                      bool sizeEach = false);

}  // namespace bench
