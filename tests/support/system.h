// The OS layer of the platform the tests run on, shared by every test.
#pragma once

#include "platform/os.h"

namespace testing_support {

platform::Os& SystemOs();

}  // namespace testing_support
