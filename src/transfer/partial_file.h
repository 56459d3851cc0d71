// Files made under a name of their own beside their final name, and given
// that name only once complete: a copy or a save cut short (a full disk, a
// killed process, a power cut) never leaves part of a file under a name the
// office or the bookkeeping program uses. Such a name ends in ".$$$", as
// temporary files always have on these systems, and no file of the office
// has it: one found there is a partial file left by a run cut short.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"

namespace transfer {

inline constexpr std::u16string_view kPartialSuffix = u".$$$";

std::u16string PartialName(std::u16string_view name);

// Removes the partial file, if there is one: 0 when none stays, else the
// system's code.
std::uint32_t RemovePartial(platform::Os& os, std::u16string_view partial);
// The same, raising EInOutError with that code: a partial file is never left
// unreported.
void DiscardPartial(platform::Os& os, std::u16string_view partial);

}  // namespace transfer
