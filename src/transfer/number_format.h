// How inventory values are written into log lines: a general decimal format
// of 15 significant digits with the user's decimal separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace transfer {

// The value rounded to 15 significant digits (a tie away from zero), trailing
// zeros dropped; fixed notation from 0.0001 up to below 10^15, otherwise
// "d<sep>dddE<exp>". Zero of either sign is "0"; "INF", "-INF", "NAN".
std::u16string FormatLogNumber(double value, std::u16string_view separator);

// The user's decimal symbol when it is exactly one character, "." otherwise
// and when the system could not give one.
std::u16string ChooseDecimalSeparator(std::optional<std::u16string> symbol);

// The separator the log uses; read at start and again when the system
// announces changed settings.
class DecimalSeparator {
 public:
  explicit DecimalSeparator(platform::Os& os);

  void Refresh();
  const std::u16string& Text() const { return text_; }

 private:
  platform::Os& os_;
  std::u16string text_;
};

}  // namespace transfer
