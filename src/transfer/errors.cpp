#include "transfer/errors.h"

#include "platform/utf8.h"

namespace transfer {

Exception::Exception(std::u16string message)
    : message_(std::move(message)), utf8_(platform::TextToUtf8(message_)) {}

EInOutError::EInOutError(std::int32_t code, std::u16string_view name)
    : Exception(InOutMessage(code, name)), ErrorCode(code) {}

EInvalidOp::EInvalidOp() : Exception(u"Invalid floating point operation") {}

EWriteError::EWriteError() : Exception(u"Stream write error") {}

std::u16string InOutMessage(std::int32_t code, std::u16string_view name) {
  switch (code) {
    case 2:
      return u"The specified file was not found";
    case 3:
      return u"Invalid file name - " + std::u16string(name);
    case 4:
      return u"Too many open files";
    case 5:
      return u"File access denied";
    case 100:
      return u"Read beyond end of file";
    case 101:
      return u"Disk full";
    case 106:
      return u"Invalid numeric input";
    default:
      return u"I/O error " + platform::Utf8ToText(std::to_string(code));
  }
}

}  // namespace transfer
