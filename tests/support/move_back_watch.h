// An OS layer that notes the targets whose backup could not be moved back to
// their name: the one way a single refused call may leave a target only under
// its backup name, which the fault sweeps allow for.
#pragma once

#include <set>
#include <string>

#include "support/forwarding_os.h"

namespace testing_support {

class MoveBackWatch : public ForwardingOs {
 public:
  using ForwardingOs::ForwardingOs;
  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override {
    const auto code = ForwardingOs::Move(from, to);
    if (code != platform::err::kSuccess && from.ends_with(u".old")) refused.emplace(to);
    return code;
  }
  std::set<std::u16string> refused;  // full paths, as the program named them
};

}  // namespace testing_support
