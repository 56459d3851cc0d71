#include "transfer/activity_log.h"

#include <cstdint>
#include <optional>

#include "transfer/errors.h"
#include "transfer/partial_file.h"
#include "transfer/record_file.h"

namespace transfer {

namespace {

// The system's error text as a clause of our message: no trailing blanks,
// line breaks or full stops.
std::u16string ErrorClause(platform::Os& os, std::uint32_t code) {
  std::u16string text = os.ErrorText(code);
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
  return text;
}

}  // namespace

std::u16string LogFilePath(std::u16string_view executablePath) {
  const auto cut = executablePath.find_last_of(u"\\/:");
  std::u16string path(cut == std::u16string_view::npos ? std::u16string_view()
                                                       : executablePath.substr(0, cut + 1));
  return path.append(kLogFileName);
}

void SaveLog(platform::Os& os, std::u16string_view text, std::u16string_view fileName) {
  // A text the conversion cannot take, or bytes more than one write can
  // carry, would be saved short: refused before the old file is touched.
  const std::optional<std::string> converted = os.TextToAnsi(text);
  if (!converted || (std::uint64_t{converted->size()} >> 32) != 0) throw EWriteError();
  const std::string& bytes = *converted;
  const auto cannotCreate = [&](std::uint32_t code) {
    return ECreateError(u"Cannot create file \"" + std::u16string(fileName) + u"\". " +
                        ErrorClause(os, code));
  };
  // The new log is written beside the old one and replaces it only once it
  // is whole: a save that fails on the way (a full disk) loses nothing. What
  // is left of it on a failure is not the log: a failure to remove it hides
  // nothing from the user.
  const std::u16string partial = PartialName(fileName);
  if (partial.size() > kMaxFileName) throw cannotCreate(platform::err::kFilenameExcedRange);
  platform::FileHandle handle = 0;
  if (const auto created = os.CreateAlways(partial, handle); created != platform::err::kSuccess) {
    RemovePartial(os, partial);
    throw cannotCreate(created);
  }
  std::uint32_t done = 0;
  const auto size = static_cast<std::uint32_t>(bytes.size());
  const bool written =
      bytes.empty() || (os.Write(handle, bytes.data(), size, done) == 0 && done == size);
  const bool flushed = written && os.Flush(handle) == platform::err::kSuccess;
  const bool closed = os.Close(handle) == platform::err::kSuccess;
  if (!flushed || !closed) {
    RemovePartial(os, partial);
    throw EWriteError();
  }
  if (const auto replaced = os.Replace(partial, fileName); replaced != platform::err::kSuccess) {
    RemovePartial(os, partial);
    throw cannotCreate(replaced);
  }
}

}  // namespace transfer
