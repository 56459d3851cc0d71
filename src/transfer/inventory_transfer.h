// The inventory transfer: each company's closing inventory of the old year
// becomes its opening inventory of the new year, where that is still zero.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "transfer/report.h"

namespace transfer {

class RunJournal;

// The annual record file of one company in one installation (which ends with
// a backslash): installation, directory with a backslash, the installation's
// number, "_ROK.REK".
std::u16string AnnualFileName(std::u16string_view installation, std::u16string_view katalog);

// Treats every company of the list in order and logs one line for each, then
// a closing line. Raises EInOutError or EInvalidOp, which ends the run;
// companies handled before keep their changes. With a journal, each
// company's 8 bytes are recorded in it (one flush) before they are written;
// a journal that cannot be written ends the run there.
void SkopiujRemanenty(platform::Os& os, std::u16string_view fSciezka_source,
                      std::u16string_view fSciezka_dest,
                      const std::vector<std::u16string>& katalogi, RunReport& report,
                      std::u16string_view decimalSeparator, RunJournal* journal = nullptr);

}  // namespace transfer
