#include "transfer/partial_file.h"

#include "transfer/errors.h"

namespace transfer {

std::u16string PartialName(std::u16string_view name) {
  std::u16string partial(name);
  return partial.append(kPartialSuffix);
}

std::uint32_t RemovePartial(platform::Os& os, std::u16string_view partial) {
  const auto code = os.Remove(partial);
  // Not there, or a name that can hold no file: nothing stays.
  return platform::err::NoSuchEntry(code) ? platform::err::kSuccess : code;
}

void DiscardPartial(platform::Os& os, std::u16string_view partial) {
  if (const auto code = RemovePartial(os, partial)) {
    throw EInOutError(static_cast<std::int32_t>(code), partial);
  }
}

}  // namespace transfer
