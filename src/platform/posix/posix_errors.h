// Windows error codes and texts for the POSIX OS layer, so that the core sees
// the same codes and messages on every system.
#pragma once

#include <cstdint>
#include <string>

namespace platform::posix {

// More Windows codes that only this layer produces.
namespace werr {
inline constexpr std::uint32_t kInvalidFunction = 1;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kNotSameDevice = 17;
inline constexpr std::uint32_t kNotSupported = 50;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kNegativeSeek = 131;
inline constexpr std::uint32_t kDirNotEmpty = 145;
inline constexpr std::uint32_t kFileTooLarge = 223;
inline constexpr std::uint32_t kCantResolveFilename = 1921;
}  // namespace werr

// The Windows code for an errno value where the operation does not change the
// answer. ENOENT gives 2 here; callers that can tell a missing directory on the
// path (3) decide that themselves, as they do for EEXIST (80 or 183).
// Anything without a Windows counterpart becomes 1117 (I/O device error).
std::uint32_t WindowsCode(int error);

// The English system text for a Windows code as FormatMessageW gives it,
// trailing full stop and CR LF included; a generic text for other codes.
std::u16string WindowsErrorText(std::uint32_t code);

}  // namespace platform::posix
