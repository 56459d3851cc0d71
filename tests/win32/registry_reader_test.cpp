// Start-up's reader over the real registry of the test's Windows: the values
// as the system stores them, a key the user may only read, and a start-up
// that finds nothing and leaves the registry as it was.
#include "shell/win32/registry_reader.h"

#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <cstddef>
#include <string>

#include "shell/startup.h"

namespace {

constexpr wchar_t kTestKey[] = L"Software\\dopliki_tests\\registry";

class RegistryReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\dopliki_tests");
  }
  void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  void SetText(const wchar_t* name, DWORD type, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    Set(name, type, text.c_str(), static_cast<DWORD>(bytes));
  }
  std::u16string Read() {
    shell::win32::RegistryReader reader;
    const bool open = reader.OpenKey(u"Software\\dopliki_tests\\registry");
    return shell::ReadInstallPath(reader, open);
  }

  HKEY key_ = nullptr;
};

TEST_F(RegistryReaderTest, TextValuesAsStoredAndOthersRefused) {
  EXPECT_EQ(Read(), u"");
  SetText(L"InstallPath", REG_SZ, L" d:\\zetka_2024 ");
  EXPECT_EQ(Read(), u" d:\\zetka_2024 ");
  SetText(L"InstallPath", REG_EXPAND_SZ, L"%SystemDrive%\\zetka_2024");
  EXPECT_EQ(Read(), u"%SystemDrive%\\zetka_2024");
  SetText(L"InstallPath", REG_SZ, std::wstring(L"e:\\z\0e:\\y", 9));
  EXPECT_EQ(Read(), u"e:\\z");
  const DWORD number = 2024;
  Set(L"InstallPath", REG_DWORD, &number, sizeof(number));
  try {
    Read();
    FAIL() << "a number was read as a path";
  } catch (const shell::ERegistryException& e) {
    EXPECT_EQ(e.Message(), u"Invalid data type for 'InstallPath'");
  }
}

// Querying a value is all the reader asks for: a key that grants the user
// no more than reading is read.
TEST_F(RegistryReaderTest, AKeyTheUserMayOnlyReadIsRead) {
  SetText(L"InstallPath", REG_SZ, L"d:\\tylko_do_odczytu");
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  // Owner, system and everyone: read only.
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"D:P(A;;KR;;;OW)(A;;KR;;;SY)(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
  ASSERT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
  LocalFree(descriptor);
  EXPECT_EQ(Read(), u"d:\\tylko_do_odczytu");

  // Where the system refuses full access, as Windows does, the key still reads.
  HKEY full = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &full) == ERROR_SUCCESS) {
    RegCloseKey(full);
    GTEST_LOG_(INFO) << "this system grants full access to a read-only key";
  }
  // Full access again, so the key can be removed.
  ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KA;;;WD)", SDDL_REVISION_1,
                                                       &descriptor, nullptr);
  RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
}

TEST(RegistryStartUpTest, NothingIsCreatedWhereNothingIsFound) {
  const auto exists = [](const std::u16string& path) {
    HKEY key = nullptr;
    const bool found =
        RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(path.c_str()), 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
    if (found) RegCloseKey(key);
    return found;
  };
  // Years whose keys no installation of the program has.
  const int year = 2191;
  ASSERT_FALSE(exists(shell::YearKey(year - 1)));
  ASSERT_FALSE(exists(shell::YearKey(year)));
  shell::win32::RegistryReader reader;
  const auto proposals = shell::ProposeInstallations(reader, year);
  EXPECT_EQ(proposals.source, u"c:\\zetka_2190");
  EXPECT_EQ(proposals.dest, u"c:\\zetka_2191");
  EXPECT_FALSE(exists(shell::YearKey(year - 1)));
  EXPECT_FALSE(exists(shell::YearKey(year)));
  EXPECT_FALSE(exists(u"Software\\wx"));
}

}  // namespace
