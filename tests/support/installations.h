// A pair of installations of the bookkeeping program in a temporary folder:
// the old year's "zetka_2008" and the new year's "zetka_2009", each with
// company directories, annual files and additional files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/records.h"
#include "support/temp_dir.h"

namespace testing_support {

class Installations {
 public:
  static constexpr std::u16string_view kOld = u"zetka_2008";
  static constexpr std::u16string_view kNew = u"zetka_2009";

  Installations();

  // The accepted installation paths, ending with a backslash.
  std::u16string Source() const { return dir.Path(kOld) + u"\\"; }
  std::u16string Dest() const { return dir.Path(kNew) + u"\\"; }

  // Company directories in both installations, with annual first records
  // where given (the old year's 2008_ROK.REK, the new year's 2009_ROK.REK).
  void AddCompany(std::u16string_view katalog, std::optional<Bytes> oldRecord,
                  std::optional<Bytes> newRecord);
  // Relative names of the annual files.
  static std::u16string OldAnnual(std::u16string_view katalog);
  static std::u16string NewAnnual(std::u16string_view katalog);

  // A file in one installation's company directory.
  static std::u16string In(std::u16string_view installation, std::u16string_view katalog,
                           std::u16string_view file);

  TempDir dir;
};

}  // namespace testing_support
