// How a fuzz target reports an input that breaks one of its properties.
// libFuzzer keeps an input only when it crashes the process, so by default a
// broken property prints what broke and aborts; the corpus replay of the test
// suite has it thrown instead, to fail the test with the input's name.
#pragma once

#include <stdexcept>
#include <string>

namespace fuzz {

class PropertyBroken : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// From now on a broken property throws PropertyBroken instead of aborting.
void ThrowOnBrokenProperty();

[[noreturn]] void Fail(const std::string& what);

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace fuzz
