// The company register "spisfirm.dat" of an installation and the acceptance
// of a pair of installation directories.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"
#include "transfer/report.h"

namespace transfer {

inline constexpr std::u16string_view kRegisterName = u"spisfirm.dat";

// True when both installations hold a company register. The texts are used
// as typed; the destination is not tested when the source fails.
bool WPorzadalu(platform::Os& os, std::u16string_view source, std::u16string_view dest);

// Reports the companies of the destination's register, one per record in
// file order, each as it is read. Raises EInOutError; the companies read so
// far have been reported.
void ZaladujFirmy(platform::Os& os, std::u16string_view fSciezka_dest, LoadReport& firmy);

enum class PathVerdict {
  kSame,        // one directory named twice: a run would destroy its own source
  kIncomplete,  // a register is missing
  kAccepted,
};

// Judges the two texts of the directory fields as typed.
PathVerdict JudgePaths(platform::Os& os, std::u16string_view source, std::u16string_view dest);

}  // namespace transfer
