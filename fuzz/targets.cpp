#include "fuzz/targets.h"

namespace fuzz {

namespace {

constexpr NamedTarget kTargets[] = {
    {"register", &RegisterTarget},
    {"extract_number", &ExtractNumberTarget},
    {"number_format", &NumberFormatTarget},
    {"run", &RunTarget},
};

}  // namespace

std::span<const NamedTarget> Targets() { return kTargets; }

Target FindTarget(std::string_view name) {
  for (const auto& named : kTargets) {
    if (named.name == name) return named.target;
  }
  return nullptr;
}

}  // namespace fuzz
