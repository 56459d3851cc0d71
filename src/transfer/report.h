// How the operations give out what they do, as they do it: the lines of the
// activity log, and the companies of a register as each is read. The window
// shows them in its boxes, a test records them. An operation that fails
// part-way has reported everything it did before.
#pragma once

#include <string_view>

namespace transfer {

class RunReport {
 public:
  virtual ~RunReport() = default;
  // One line of the activity log as the operation words it; it may hold any
  // character, a NUL too.
  virtual void Logged(std::u16string_view line) = 0;
};

class LoadReport {
 public:
  virtual ~LoadReport() = default;
  // One company of the register, in file order.
  virtual void CompanyRead(std::u16string_view nazwa, std::u16string_view katalog) = 0;
};

}  // namespace transfer
