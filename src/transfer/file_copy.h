// The additional file copy: listed files of every company from the old
// installation into the new one, a replaced file kept under its name + ".old".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"
#include "transfer/report.h"

namespace transfer {

class RunJournal;

// Copies every file entry for every company entry and logs each copied pair.
// A pair that cannot be copied is left as it was. Raises EInOutError only
// where it cannot leave a pair so: a replaced file that cannot be moved back
// to its name, or a partial copy that cannot be removed.
// With a journal, a company's copies are made beside their targets first,
// then described in the journal with one flush (their sizes and SHA-256, and
// those of the files they replace), and only then given their targets' names;
// a journal or a file that cannot be read for it ends the run (EInOutError)
// before those copies take their names, their partial copies removed.
void SkopiujPliki(platform::Os& os, std::u16string_view fSciezka_source,
                  std::u16string_view fSciezka_dest, const std::vector<std::u16string>& katalogi,
                  const std::vector<std::u16string>& pliki, RunReport& report,
                  RunJournal* journal = nullptr);

}  // namespace transfer
