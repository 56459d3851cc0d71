#include "support/system.h"

#include "platform/system_os.h"

namespace testing_support {

platform::Os& SystemOs() {
  static const auto os = platform::MakeSystemOs();
  return *os;
}

}  // namespace testing_support
