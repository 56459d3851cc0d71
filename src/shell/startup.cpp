#include "shell/startup.h"

#include "shell/field_text.h"
#include "transfer/paths.h"

namespace shell {

namespace {

constexpr std::u16string_view kInstallPath = u"InstallPath";

std::u16string Decimal(int number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

// One field's proposal for year N. A failed read is reported, and the field
// takes the default as for a missing value.
std::u16string Propose(RegistryReader& reader, int year, std::vector<std::u16string>& failures) {
  const bool keyOpen = reader.OpenKey(YearKey(year));
  std::u16string text;
  try {
    text = DirectoryFieldText(ReadInstallPath(reader, keyOpen));
  } catch (const ERegistryException& e) {
    failures.push_back(e.Message());
  }
  if (keyOpen) reader.CloseKey();
  if (transfer::TrimControls(text).empty()) text = DefaultInstallation(year);
  return text;
}

}  // namespace

std::u16string ReadInstallPath(RegistryReader& reader, bool keyOpen) {
  std::uint32_t type = 0, size = 0;
  if (!keyOpen || !reader.QueryValue(kInstallPath, type, size) || size == 0) return {};
  std::string bytes;
  if (!reader.ReadData(kInstallPath, size, bytes)) {
    throw ERegistryException(u"Failed to get data for '" + std::u16string(kInstallPath) + u"'");
  }
  if (type != kRegSz && type != kRegExpandSz) {
    throw ERegistryException(u"Invalid data type for '" + std::u16string(kInstallPath) + u"'");
  }
  // UTF-16, little-endian: size / 2 characters, up to the first NUL.
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size() && i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (unit == u'\0') break;
    text += unit;
  }
  return text;
}

std::u16string YearKey(int year) {
  const std::u16string digits = Decimal(year);
  return u"Software\\wx\\ZT0" + digits.substr(std::min<std::size_t>(2, digits.size()), 2);
}

std::u16string DefaultInstallation(int year) { return u"c:\\zetka_" + Decimal(year); }

Proposals ProposeInstallations(RegistryReader& reader, int year) {
  Proposals proposals;
  proposals.source = Propose(reader, year - 1, proposals.failures);
  proposals.dest = Propose(reader, year, proposals.failures);
  return proposals;
}

}  // namespace shell
