// A file held open by another program for as long as this object lives; raw
// Win32 stands in for that program. Windows checks share modes, not who holds
// the handle, so a handle of the test's own does.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace testing_support {

class HeldFile {
 public:
  HeldFile(std::u16string_view path, DWORD access, DWORD share)
      : handle_(CreateFileW(std::wstring(path.begin(), path.end()).c_str(), access, share, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (IsOpen()) CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace testing_support
