// The operating-system layer of the platform the program was built for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/os.h"

namespace platform {

std::unique_ptr<Os> MakeSystemOs();

// The system's text for a Windows error code, as Os::ErrorText gives it.
std::u16string SystemErrorText(std::uint32_t code);

}  // namespace platform
