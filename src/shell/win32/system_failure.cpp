#include "shell/win32/system_failure.h"

#include <string>

#include "platform/system_os.h"
#include "transfer/errors.h"

namespace shell::win32 {

void RaiseSystemFailure(std::u16string_view what, DWORD code) {
  std::u16string message(what);
  std::u16string text = code != ERROR_SUCCESS ? platform::SystemErrorText(code) : u"";
  while (!text.empty() && text.back() <= u' ') text.pop_back();
  if (!text.empty()) message += u". " + text;
  throw transfer::Exception(std::move(message));
}

}  // namespace shell::win32
