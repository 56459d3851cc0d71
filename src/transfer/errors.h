// The failures of the year-end transfer. Each carries the message the user
// sees; a handler that does not catch one ends there, and the window shows it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace transfer {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const { return message_; }
  // The message in UTF-8, for diagnostics outside the window.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// A refused file operation: the Windows error code, or 100 (read beyond end
// of file), 101 (disk full), 103 (file not open).
class EInOutError : public Exception {
 public:
  // name: the file the operation was given; only the message of code 3 shows it.
  EInOutError(std::int32_t code, std::u16string_view name);
  std::int32_t ErrorCode;
};

// A stored inventory value that is not a number.
class EInvalidOp : public Exception {
 public:
  EInvalidOp();
};

// The log file could not be created.
class ECreateError : public Exception {
 public:
  using Exception::Exception;
};

// Writing the created log file failed.
class EWriteError : public Exception {
 public:
  EWriteError();
};

// The message of a file operation's failure with this code.
std::u16string InOutMessage(std::int32_t code, std::u16string_view name);

}  // namespace transfer
