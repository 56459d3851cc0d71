// Bad inputs that read otherwise on POSIX than on Windows, through a whole
// operation (the Windows rows are in tests/win32/bad_input_win32_test.cpp).
#include <gtest/gtest.h>

#include "support/whole_operation.h"

namespace {

using testing_support::Installations;
using testing_support::WholeOperation;

// A trailing dot is part of a POSIX name: "zetka_2009." is another directory,
// here a missing one.
TEST(BadInputPosixTest, ATrailingDotNamesAnotherDirectory) {
  WholeOperation op;
  const auto before = op.Files();
  const auto outcome = op.Accept(op.pair.dir.Path(Installations::kOld),
                                 op.pair.dir.Path(Installations::kNew) + u".");
  EXPECT_EQ(outcome.events, testing_support::kRegisterMissing);
  EXPECT_EQ(testing_support::Differences(before, op.Files()), "");
}

}  // namespace
