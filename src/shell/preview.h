// The preview of a run: what "SRU" would do, told before anything is done.
// The summary is made from the changes the run made in an overlay and the
// lines it logged there; the window shows it above those lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_change.h"
#include "platform/os.h"

namespace shell {

inline constexpr std::u16string_view kPreviewTitle = u"Podgląd";

// The operation a run was in when it failed.
enum class RunStage { kCopy, kTransfer };

struct PreviewFailure {
  RunStage stage = RunStage::kCopy;
  std::u16string message;
};

// The lines each previewed operation logged, and where a failure would have
// ended the run.
struct PreviewedRun {
  std::vector<std::u16string> copyLines, transferLines;
  std::optional<PreviewFailure> failure;
};

// Runs the ticked operations as "SRU" runs them, its journal included (one
// that cannot be written ends the run there as well), over `overlay`: an
// overlay of the files, whose changes then tell what the run would change.
// A failure that would end the run is kept, not raised.
PreviewedRun RunPreview(platform::Os& overlay, std::u16string_view source, std::u16string_view dest,
                        const std::vector<std::u16string>& katalogi,
                        const std::vector<std::u16string>& pliki, bool copy, bool carry,
                        std::u16string_view separator);

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
