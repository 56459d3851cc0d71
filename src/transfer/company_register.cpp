#include "transfer/company_register.h"

#include "transfer/paths.h"
#include "transfer/record_file.h"
#include "transfer/rekordy.h"

namespace transfer {

namespace {

bool HoldsRegister(platform::Os& os, std::u16string_view installation) {
  // The backslash goes in even after one typed by the user: the system reads
  // the doubled one as one.
  std::u16string name(installation);
  name.append(u"\\").append(kRegisterName);
  return FileIsPresent(os, name);
}

// Two texts that reach one existing directory: letter case, trailing
// separators, relative against absolute paths and links all lead here.
bool SameDirectory(platform::Os& os, std::u16string_view a, std::u16string_view b) {
  platform::FileIdentity first, second;
  if (os.Identity(a, first) != platform::err::kSuccess ||
      os.Identity(b, second) != platform::err::kSuccess) {
    return false;
  }
  return first == second;
}

}  // namespace

bool WPorzadalu(platform::Os& os, std::u16string_view source, std::u16string_view dest) {
  return HoldsRegister(os, source) && HoldsRegister(os, dest);
}

void ZaladujFirmy(platform::Os& os, std::u16string_view fSciezka_dest, LoadReport& firmy) {
  RecordFile file(os);
  file.Open(SlashStr(fSciezka_dest) + std::u16string(kRegisterName), TFirma::kSize);
  TFirma::Image image{};
  while (!file.AtEnd()) {
    file.ReadRecord(image.data());
    const TFirma firma = TFirma::Decode(image, os);
    firmy.CompanyRead(firma.Nazwa, firma.Katalog);
  }
  file.Close();
}

PathVerdict JudgePaths(platform::Os& os, std::u16string_view source, std::u16string_view dest) {
  if (TrimControls(source) == TrimControls(dest) || SameDirectory(os, source, dest)) {
    return PathVerdict::kSame;
  }
  return WPorzadalu(os, source, dest) ? PathVerdict::kAccepted : PathVerdict::kIncomplete;
}

}  // namespace transfer
