// An OS layer that notes the refused calls that were to put things back:
// a replaced file's move back from its backup name, the removal of a partial
// file. The program reports each such refusal, and only such a refusal may
// leave a target under its backup name alone, or a partial file behind.
#pragma once

#include <set>
#include <string>

#include "support/forwarding_os.h"

namespace testing_support {

class RestoreWatch : public ForwardingOs {
 public:
  using ForwardingOs::ForwardingOs;
  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override {
    const auto code = ForwardingOs::Move(from, to);
    if (code != platform::err::kSuccess && from.ends_with(u".old")) movedBackRefused.emplace(to);
    return code;
  }
  std::uint32_t Remove(std::u16string_view name) override {
    const auto code = ForwardingOs::Remove(name);
    if (code != platform::err::kSuccess && !platform::err::NoSuchEntry(code)) {
      removalRefused.emplace(name);
    }
    return code;
  }
  bool AnyRefused() const { return !movedBackRefused.empty() || !removalRefused.empty(); }

  // Full paths, as the program named them.
  std::set<std::u16string> movedBackRefused;  // the targets
  std::set<std::u16string> removalRefused;    // the partial files
};

}  // namespace testing_support
