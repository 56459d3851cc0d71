// The preview of a run: what "SRU" would do, told before anything is done.
// The summary is made from the changes the run made in an overlay and the
// lines it logged there; the window shows it above those lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_change.h"

namespace shell {

inline constexpr std::u16string_view kPreviewTitle = u"Podgląd";

// The operation a run was in when it failed.
enum class RunStage { kCopy, kTransfer };

struct PreviewFailure {
  RunStage stage = RunStage::kCopy;
  std::u16string message;
};

// What a previewed run did.
struct PreviewFacts {
  // The accepted installations, each ending with a backslash.
  std::u16string_view source, dest;
  // The company directories the run was given, in order.
  const std::vector<std::u16string>& katalogi;
  const platform::FileChanges& changes;
  // The lines the inventory transfer logged: one per company of `katalogi`
  // in order, then its closing line.
  const std::vector<std::u16string>& transferLines;
  std::optional<PreviewFailure> failure;
  // The log's decimal separator, which the values are written with.
  std::u16string_view separator;
};

// The summary, its lines separated by "\n": the opening inventories that
// would change, the extra files that would be made or replaced, the
// companies the transfer would skip and why, and where a failure would end
// the run.
std::u16string PreviewSummary(const PreviewFacts& facts);

}  // namespace shell
