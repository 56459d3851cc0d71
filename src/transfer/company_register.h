// The company register "spisfirm.dat" of an installation and the acceptance
// of a pair of installation directories.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"
#include "transfer/controls.h"

namespace transfer {

inline constexpr std::u16string_view kRegisterName = u"spisfirm.dat";

// True when both installations hold a company register. The texts are used
// as typed; the destination is not tested when the source fails.
bool WPorzadalu(platform::Os& os, std::u16string_view source, std::u16string_view dest);

// Fills the two lists from the destination's register, one entry per record
// in file order. Raises EInOutError; the entries read so far stay listed.
void ZaladujFirmy(platform::Os& os, std::u16string_view fSciezka_dest, LinesControl& mmo_1,
                  LinesControl& mmo_2);

enum class PathVerdict {
  kSame,        // one directory named twice: a run would destroy its own source
  kIncomplete,  // a register is missing
  kAccepted,
};

// Judges the two texts of the directory fields as typed.
PathVerdict JudgePaths(platform::Os& os, std::u16string_view source, std::u16string_view dest);

}  // namespace transfer
