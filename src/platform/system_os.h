// The operating-system layer of the platform the program was built for.
#pragma once

#include <memory>

#include "platform/os.h"

namespace platform {

std::unique_ptr<Os> MakeSystemOs();

}  // namespace platform
