#include "shell/failure_text.h"

#include <new>

#include "platform/utf8.h"
#include "transfer/errors.h"

namespace shell {

std::u16string FailureText(std::u16string_view message) {
  std::u16string text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

std::u16string FailureMessage(std::exception_ptr failure) {
  try {
    std::rethrow_exception(std::move(failure));
  } catch (const transfer::Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return u"Out of memory";
  } catch (const std::exception& e) {
    return platform::Utf8ToText(e.what());
  } catch (...) {
    return u"Unknown failure";
  }
}

}  // namespace shell
