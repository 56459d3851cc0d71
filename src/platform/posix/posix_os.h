// The OS layer on POSIX systems (Linux): native tests, sanitizers and
// benchmarks. Windows-style paths and Windows error codes at the interface.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/os.h"

namespace platform::posix {

class PosixOs final : public Os {
 public:
  // The code page plays the system's ANSI code page. Single-byte code pages
  // only; one that iconv does not know converts as ISO-8859-1 (byte = code
  // point), and 65001 converts as UTF-8.
  explicit PosixOs(std::uint32_t ansiCodePage = 1250);

  std::uint32_t OpenExisting(std::u16string_view name, FileHandle& handle) override;
  std::uint32_t OpenForReading(std::u16string_view name, FileHandle& handle) override;
  std::uint32_t CreateAlways(std::u16string_view name, FileHandle& handle) override;
  std::uint32_t Read(FileHandle handle, void* buffer, std::uint32_t size,
                     std::uint32_t& done) override;
  std::uint32_t Write(FileHandle handle, const void* buffer, std::uint32_t size,
                      std::uint32_t& done) override;
  std::uint32_t Seek(FileHandle handle, std::int32_t distance, SeekOrigin origin,
                     std::uint32_t& position) override;
  std::uint32_t Size(FileHandle handle, std::uint32_t& size) override;
  std::uint32_t Close(FileHandle handle) override;
  std::uint32_t Flush(FileHandle handle) override;

  std::uint32_t Attributes(std::u16string_view name, EntryInfo& info) override;
  std::uint32_t FindFirst(std::u16string_view name, EntryInfo& info) override;
  std::uint32_t Identity(std::u16string_view name, FileIdentity& identity) override;

  std::uint32_t Move(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t CopyNew(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Replace(std::u16string_view from, std::u16string_view to) override;
  std::uint32_t Remove(std::u16string_view name) override;

  std::u16string ErrorText(std::uint32_t code) override;

  std::uint32_t AnsiCodePage() override;
  std::u16string AnsiToText(std::string_view bytes) override;
  std::optional<std::string> TextToAnsi(std::u16string_view text) override;

  std::optional<std::u16string> DecimalSymbol() override;
  std::u16string LowerCase(std::u16string_view text) override;

  std::u16string ExecutablePath() override;

 private:
  std::uint32_t codePage_;
  bool utf8_ = false;
  // Byte -> UTF-16 unit, and the reverse sorted by unit for binary search.
  std::array<char16_t, 256> toText_{};
  std::vector<std::pair<char16_t, char>> toAnsi_;
};

}  // namespace platform::posix
