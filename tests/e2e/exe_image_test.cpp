// The shipped exe's image (DOPLIKI_EXE), as Windows reads it before the
// program runs: what its manifest asks of the system and what it binds at
// load. These are the product's duties on Windows that Wine does not show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/pe_image.h"

namespace {

using e2e::ImportedDll;
using e2e::PeImage;

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// The functions imported from a DLL by name (DLL names compare as Windows
// compares them, without regard to case); empty when the DLL is not imported.
std::vector<std::string> ImportedFrom(const std::vector<ImportedDll>& imports,
                                      std::string_view dll) {
  std::vector<std::string> functions;
  for (const auto& imported : imports) {
    if (SameName(imported.name, dll)) {
      functions.insert(functions.end(), imported.functions.begin(), imported.functions.end());
    }
  }
  return functions;
}

// What stands between an element's start tag (attributes and all, as
// written) and its end tag, when the text holds it.
std::optional<std::string> Inside(const std::string& xml, const std::string& start,
                                  const std::string& name) {
  const auto open = xml.find(start);
  if (open == std::string::npos) return std::nullopt;
  const auto from = open + start.size();
  const auto end = xml.find("</" + name + ">", from);
  if (end == std::string::npos) return std::nullopt;
  return xml.substr(from, end - from);
}

// Windows 10's and 11's KnownDLLs: the DLLs Windows maps from its own folder
// whatever lies beside the exe, the values under
// HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of a
// clean installation. Microsoft documents the key and its effect, not its
// contents ("Dynamic-link library search order" on learn.microsoft.com sends
// the reader to the key of the system at hand). ntdll.dll is mapped into
// every process before any other DLL.
constexpr std::string_view kKnownDlls[] = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll",  "comdlg32.dll", "coml2.dll",    "difxapi.dll",
    "gdi32.dll",    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",    "kernel32.dll", "msctf.dll",
    "msvcrt.dll",   "normaliz.dll", "nsi.dll",      "ntdll.dll",    "ole32.dll",    "oleaut32.dll",
    "psapi.dll",    "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shcore.dll",   "shell32.dll",
    "shlwapi.dll",  "user32.dll",   "wldap32.dll",  "ws2_32.dll",
};

// comctl32.dll is none of them, but the manifest asks for its version 6,
// which Windows then binds from its side-by-side store, not from a folder.
bool TakenFromWindowsItself(std::string_view dll) {
  return SameName(dll, "comctl32.dll") ||
         std::ranges::any_of(kKnownDlls,
                             [&](std::string_view known) { return SameName(dll, known); });
}

struct Needed {
  const char* dll;
  const char* function;
  const char* why;
};

class ExeImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* exe = std::getenv("DOPLIKI_EXE");
    ASSERT_NE(exe, nullptr) << "DOPLIKI_EXE is not set";
    image.emplace(PeImage::Load(exe));
  }

  void ExpectImports(const std::vector<Needed>& needed) {
    const auto imports = image->Imports();
    for (const auto& [dll, function, why] : needed) {
      const auto functions = ImportedFrom(imports, dll);
      EXPECT_TRUE(std::ranges::find(functions, function) != functions.end())
          << dll << " " << function << " is not imported: " << why;
    }
  }

  std::optional<PeImage> image;
};

// The reader on the exe: a Windows exe for x86_64 or i686, in the matching
// format, binding functions the program is known to call, and holding its
// manifest whole.
TEST_F(ExeImageTest, ReadsTheExe) {
  EXPECT_EQ(image->Machine(), image->Is64() ? PeImage::kAmd64 : PeImage::kI386);
  ExpectImports({
      {"kernel32.dll", "CreateFileW", "the record files are opened"},
      {"kernel32.dll", "MoveFileExW", "a copy takes its name once whole"},
      {"user32.dll", "CreateWindowExW", "the window is made"},
      {"user32.dll", "GetMessageW", "the message loop"},
      {"advapi32.dll", "RegQueryValueExW", "the registry's proposals"},
  });
  const auto manifest = image->Resource(PeImage::kManifestType, 1);
  ASSERT_TRUE(manifest) << "no manifest";
  EXPECT_TRUE(manifest->starts_with("<?xml")) << *manifest;
  const auto last = manifest->find_last_not_of(" \t\r\n");
  EXPECT_TRUE(manifest->substr(0, last + 1).ends_with("</assembly>")) << *manifest;
}

// Windows binds these at load; each call is what the product owes Windows.
TEST_F(ExeImageTest, ImportsWhatWindowsNeedsOfIt) {
  ExpectImports({
      {"user32.dll", "DisableProcessWindowsGhosting",
       "a run that pumps no messages for 5 s gets a \"Not Responding\" ghost, and closing "
       "the ghost ends the process"},
      {"user32.dll", "ChangeWindowMessageFilterEx",
       "an elevated process gets no drops from Explorer unless it lets the messages in"},
      {"ole32.dll", "OleInitialize", "the folder dialog of the new style needs OLE"},
      {"ole32.dll", "OleUninitialize", "what OleInitialize began ends before the exit"},
  });
}

// Windows looks for any other imported DLL beside the exe first: a copy of
// that name put into the folder the exe was started from (a Downloads folder)
// would run inside the program before its first instruction.
TEST_F(ExeImageTest, ImportsOnlyDllsWindowsTakesFromItsOwnFolder) {
  const auto imports = image->Imports();
  ASSERT_FALSE(imports.empty());
  for (const auto& imported : imports) {
    EXPECT_TRUE(TakenFromWindowsItself(imported.name))
        << imported.name << " is none of Windows' KnownDLLs: load it with SystemFunction";
  }
}

// The DLLs loaded after the start (by the program or by Windows for it) come
// from the system's folder only. The program looks the call up: importing it
// would keep the exe from starting on a Windows 7 without KB2533623.
TEST_F(ExeImageTest, SearchesDllsInTheSystemFolderOnly) {
  const auto kernel32 = ImportedFrom(image->Imports(), "kernel32.dll");
  const auto imports = [&](std::string_view function) {
    return std::ranges::find(kernel32, function) != kernel32.end();
  };
  EXPECT_TRUE(imports("SetDefaultDllDirectories") ||
              (imports("GetProcAddress") && image->HoldsName("SetDefaultDllDirectories")))
      << "SetDefaultDllDirectories is neither imported nor looked up";
}

// The manifest runs the program as its invoker: without a requested
// execution level UAC virtualises a 32-bit exe, and its log beside itself
// under Program Files would land in the VirtualStore. It names no code page:
// the program reads and writes the system's ANSI one.
TEST_F(ExeImageTest, ManifestRunsAsInvokerInTheSystemsCodePage) {
  const auto manifest = image->Resource(PeImage::kManifestType, 1);
  ASSERT_TRUE(manifest) << "no manifest";
  const auto trust =
      Inside(*manifest, R"(<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">)", "trustInfo");
  const auto security = trust ? Inside(*trust, "<security>", "security") : std::nullopt;
  const auto privileges =
      security ? Inside(*security, "<requestedPrivileges>", "requestedPrivileges") : std::nullopt;
  ASSERT_TRUE(privileges) << "no trustInfo, security, requestedPrivileges:\n" << *manifest;
  EXPECT_NE(privileges->find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"),
            std::string::npos)
      << *privileges;
  EXPECT_EQ(manifest->find("activeCodePage"), std::string::npos) << "a code page of its own:\n"
                                                                 << *manifest;
}

// The version in the file VERSION reaches both places Windows reads one: the
// version resource's fixed part (Explorer's "Details", the installer's
// comparisons) and the manifest's assemblyIdentity (side-by-side activation).
TEST_F(ExeImageTest, CarriesTheVersionOfTheFileVersion) {
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(DOPLIKI_VERSION, "%u.%u.%u", &major, &minor, &patch), 3) << DOPLIKI_VERSION;

  const auto version = image->Resource(PeImage::kVersionType, 1);
  ASSERT_TRUE(version) << "no version resource";
  // VS_FIXEDFILEINFO: its signature, the structure's version, then the file's
  // and the product's version, each as two little-endian words of 32 bits.
  const std::string signature("\xbd\x04\xef\xfe", 4);
  const auto fixed = version->find(signature);
  ASSERT_NE(fixed, std::string::npos) << "no fixed file information";
  ASSERT_GE(version->size(), fixed + 24);
  const auto word = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
      value = value << 8 | static_cast<unsigned char>((*version)[fixed + at + i]);
    }
    return value;
  };
  const std::uint32_t high = major << 16 | minor, low = patch << 16;
  EXPECT_EQ(word(8), high) << "FILEVERSION";
  EXPECT_EQ(word(12), low) << "FILEVERSION";
  EXPECT_EQ(word(16), high) << "PRODUCTVERSION";
  EXPECT_EQ(word(20), low) << "PRODUCTVERSION";

  const auto manifest = image->Resource(PeImage::kManifestType, 1);
  ASSERT_TRUE(manifest) << "no manifest";
  const std::string identity = "<assemblyIdentity type=\"win32\" name=\"dopliki32\" version=\"" +
                               std::string(DOPLIKI_VERSION) + ".0\"";
  EXPECT_NE(manifest->find(identity), std::string::npos) << identity << "\n" << *manifest;
}

}  // namespace
