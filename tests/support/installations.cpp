#include "support/installations.h"

namespace testing_support {

Installations::Installations() {
  dir.MakeDir(kOld);
  dir.MakeDir(kNew);
}

std::u16string Installations::In(std::u16string_view installation, std::u16string_view katalog,
                                 std::u16string_view file) {
  std::u16string path(installation);
  path.append(u"\\").append(katalog);
  if (path.back() != u'\\') path += u'\\';
  return path.append(file);
}

std::u16string Installations::OldAnnual(std::u16string_view katalog) {
  return In(kOld, katalog, u"2008_ROK.REK");
}

std::u16string Installations::NewAnnual(std::u16string_view katalog) {
  return In(kNew, katalog, u"2009_ROK.REK");
}

void Installations::AddCompany(std::u16string_view katalog, std::optional<Bytes> oldRecord,
                               std::optional<Bytes> newRecord) {
  dir.MakeDir(In(kOld, katalog, u""));
  dir.MakeDir(In(kNew, katalog, u""));
  if (oldRecord) dir.WriteBytes(OldAnnual(katalog), *oldRecord);
  if (newRecord) dir.WriteBytes(NewAnnual(katalog), *newRecord);
}

}  // namespace testing_support
