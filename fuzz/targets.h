// The fuzz targets by name. Each takes any bytes, runs them through the code
// under test and checks its properties (fuzz/check.h); each returns 0, as
// libFuzzer wants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace fuzz {

using Target = int (*)(const std::uint8_t* data, std::size_t size);

// The company register: any bytes as the destination's "spisfirm.dat",
// through the whole acceptance of a pair of paths.
int RegisterTarget(const std::uint8_t* data, std::size_t size);
// The number in an installation path, against a slow reading of its rule.
int ExtractNumberTarget(const std::uint8_t* data, std::size_t size);
// The log number format of any 8 bytes, against an exact decimal expansion.
int NumberFormatTarget(const std::uint8_t* data, std::size_t size);
// A whole run over a pair of installations built from the bytes, with one
// chosen call of the system failing: the fault sweep's six invariants.
int RunTarget(const std::uint8_t* data, std::size_t size);

struct NamedTarget {
  std::string_view name;  // also the name of its corpus folder
  Target target;
};

std::span<const NamedTarget> Targets();

// The target of that name; nothing for an unknown name.
Target FindTarget(std::string_view name);

}  // namespace fuzz
