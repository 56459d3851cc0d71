// The in-memory drive's table of code page 1250 against the system's own.
#include <gtest/gtest.h>

#include <string>

#include "platform/posix/posix_os.h"
#include "support/memory_os.h"

namespace {

TEST(MemoryOsCodePage, EveryByteReadsAsTheSystemReadsIt) {
  platform::posix::PosixOs system(1250);
  testing_support::MemoryOs memory;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(memory.AnsiToText(one), system.AnsiToText(one)) << "byte " << byte;
  }
}

}  // namespace
