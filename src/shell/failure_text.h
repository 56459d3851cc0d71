// What the failure display shows of a failure's message.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace shell {

// The message with a full stop added when its last character comes after "."
// in code order: a letter, a digit, "?" or ":" get one; ".", a blank, a
// quotation mark, an apostrophe, ")", ",", "-" or "!" do not.
std::u16string FailureText(std::u16string_view message);

// The message of a failure that escaped a handler: the program's own
// failures carry theirs; anything else gets a short English one.
std::u16string FailureMessage(std::exception_ptr failure);

}  // namespace shell
