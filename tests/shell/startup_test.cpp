// Start-up's proposals over a registry of the test's making and a fixed year.
#include "shell/startup.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "support/fake_registry.h"

namespace {

using shell::kRegExpandSz;
using shell::kRegSz;
constexpr std::uint32_t kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;

using testing_support::FakeRegistry;
using Value = testing_support::RegistryValue;
using testing_support::Utf16Bytes;
Value Text(std::u16string_view text, std::uint32_t type = kRegSz) {
  return testing_support::TextValue(text, type);
}

constexpr std::u16string_view kOld = u"Software\\wx\\ZT023", kNew = u"Software\\wx\\ZT024";

TEST(Startup, KeysAndDefaultsOfTheYear) {
  EXPECT_EQ(shell::YearKey(2024), u"Software\\wx\\ZT024");
  EXPECT_EQ(shell::YearKey(2009), u"Software\\wx\\ZT009");
  EXPECT_EQ(shell::YearKey(2100), u"Software\\wx\\ZT000");
  EXPECT_EQ(shell::DefaultInstallation(2023), u"c:\\zetka_2023");

  // Started on New Year's night: the year that has just begun.
  FakeRegistry registry;
  const auto proposals = shell::ProposeInstallations(registry, 2025);
  EXPECT_EQ(proposals.source, u"c:\\zetka_2024");
  EXPECT_EQ(proposals.dest, u"c:\\zetka_2025");
}

TEST(Startup, EachFieldFromItsOwnYearsValueOrItsDefault) {
  const struct {
    const char* what;
    std::optional<std::optional<Value>> oldKey, newKey;  // no key; a key without the value
    std::u16string source, dest;
    std::vector<std::u16string> failures;
  } cases[] = {
      {"both keys missing", {}, {}, u"c:\\zetka_2023", u"c:\\zetka_2024", {}},
      {"the old year's key only",
       Text(u"D:\\ZETKA\\2023"),
       {},
       u"D:\\ZETKA\\2023",
       u"c:\\zetka_2024",
       {}},
      {"keys without the value",
       std::optional<Value>{},
       std::optional<Value>{},
       u"c:\\zetka_2023",
       u"c:\\zetka_2024",
       {}},
      {"blanks and tabs", Text(u" \t "), Text(u"\t"), u"c:\\zetka_2023", u"c:\\zetka_2024", {}},
      {"empty values", Value{kRegSz, ""}, Text(u""), u"c:\\zetka_2023", u"c:\\zetka_2024", {}},
      {"a NUL only",
       Value{kRegSz, std::string(2, '\0')},
       {},
       u"c:\\zetka_2023",
       u"c:\\zetka_2024",
       {}},
      {"blanks kept", {}, Text(u" d:\\zetka_2024 "), u"c:\\zetka_2023", u" d:\\zetka_2024 ", {}},
      {"taken literally",
       {},
       Text(u"%SystemDrive%\\zetka_2024", kRegExpandSz),
       u"c:\\zetka_2023",
       u"%SystemDrive%\\zetka_2024",
       {}},
      {"no terminating NUL",
       {},
       Value{kRegSz, Utf16Bytes(u"e:\\z")},
       u"c:\\zetka_2023",
       u"e:\\z",
       {}},
      {"text after a NUL",
       {},
       Text(std::u16string(u"e:\\z\0e:\\y", 9)),
       u"c:\\zetka_2023",
       u"e:\\z",
       {}},
      {"an odd size reads whole characters",
       {},
       Value{kRegSz, Utf16Bytes(u"e:\\z") + "x"},
       u"c:\\zetka_2023",
       u"e:\\z",
       {}},
      {"a line break",
       Text(u"d:\\stara\r\nd:\\inna"),
       Text(u"\r\nd:\\inna"),
       u"d:\\stara",
       u"c:\\zetka_2024",
       {}},
      // Reported, and the field takes its default; the other field is filled.
      {"a number",
       {},
       Value{kRegDword, std::string("\x01\0\0\0", 4)},
       u"c:\\zetka_2023",
       u"c:\\zetka_2024",
       {u"Invalid data type for 'InstallPath'"}},
      {"bytes and a list",
       Value{kRegBinary, "ab"},
       Text(u"x", kRegMultiSz),
       u"c:\\zetka_2023",
       u"c:\\zetka_2024",
       {u"Invalid data type for 'InstallPath'", u"Invalid data type for 'InstallPath'"}},
      {"an unreadable value",
       Value{kRegSz, Utf16Bytes(u"d:\\x"), true},
       Text(u"d:\\nowa"),
       u"c:\\zetka_2023",
       u"d:\\nowa",
       {u"Failed to get data for 'InstallPath'"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry registry;
    if (c.oldKey) registry.keys[std::u16string(kOld)] = *c.oldKey;
    if (c.newKey) registry.keys[std::u16string(kNew)] = *c.newKey;
    const auto proposals = shell::ProposeInstallations(registry, 2024);
    EXPECT_EQ(platform::TextToUtf8(proposals.source), platform::TextToUtf8(c.source));
    EXPECT_EQ(platform::TextToUtf8(proposals.dest), platform::TextToUtf8(c.dest));
    EXPECT_EQ(proposals.failures, c.failures);
    EXPECT_EQ(registry.openKeys, 0);
  }
}

// A key the user may only read is read: its value is where the program is.
TEST(Startup, AKeyThatCannotBeOpenedGivesTheDefault) {
  FakeRegistry registry;
  registry.keys[std::u16string(kNew)] = Text(u"d:\\zetka_2024");
  registry.unopenable.insert(std::u16string(kNew));
  EXPECT_EQ(shell::ProposeInstallations(registry, 2024).dest, u"c:\\zetka_2024");
  registry.unopenable.clear();
  EXPECT_EQ(shell::ProposeInstallations(registry, 2024).dest, u"d:\\zetka_2024");
  EXPECT_EQ(registry.opened, std::vector<std::u16string>{std::u16string(kNew)});
}

}  // namespace
