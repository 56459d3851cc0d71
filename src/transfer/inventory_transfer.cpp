#include "transfer/inventory_transfer.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "transfer/errors.h"
#include "transfer/extract_number.h"
#include "transfer/journal_file.h"
#include "transfer/number_format.h"
#include "transfer/paths.h"
#include "transfer/record_file.h"
#include "transfer/rekordy.h"

namespace transfer {

namespace {

// The zero test reads the stored bits of an IEEE 754 binary64 value.
constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kExponentBits = std::uint64_t{0x7FF} << 52;
constexpr std::uint64_t kFractionBits = (std::uint64_t{1} << 52) - 1;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 51;

bool IsNan(std::uint64_t bits) {
  return (bits & kExponentBits) == kExponentBits && (bits & kFractionBits) != 0;
}
bool IsSignallingNan(std::uint64_t bits) { return IsNan(bits) && (bits & kQuietBit) == 0; }
// +0.0 and -0.0.
bool IsZero(std::uint64_t bits) { return (bits & ~kSignBit) == 0; }

// One company's step. Both files are closed when it returns or raises.
void CarryOver(platform::Os& os, std::u16string_view katalog, const std::u16string& oldName,
               const std::u16string& newName, RunReport& report, std::u16string_view separator,
               RunJournal* journal) {
  // A name too long for the system is never tested for presence: the open
  // below refuses it with its own failure rather than calling it missing.
  // A directory that climbs out of the installation has no annual file of it.
  if (ClimbsOut(katalog) || (oldName.size() <= kMaxFileName && !FileIsPresent(os, oldName))) {
    report.Logged(u"BAD.Brak pliku " + oldName);
    return;
  }
  TRokRekord::Image oldImage{}, newImage{};
  RecordFile oldFile(os), newFile(os);
  oldFile.Open(oldName, TRokRekord::kSize);
  oldFile.ReadRecord(oldImage.data());
  newFile.Open(newName, TRokRekord::kSize);
  newFile.ReadRecord(newImage.data());

  const std::uint64_t opening = TRokRekord::Bits(newImage, TRokRekord::kRemanentPoczatkowy);
  if (IsNan(opening)) throw EInvalidOp();
  if (!IsZero(opening)) {
    report.Logged(std::u16string(katalog) + u" REMANENT DOCELOWY NIEZEROWY " +
                  FormatLogNumber(std::bit_cast<double>(opening), separator) + u" - pomijam");
    oldFile.Close();
    newFile.Close();
    return;
  }

  AnnualChange change{newName, static_cast<std::uint32_t>(TRokRekord::kRemanentPoczatkowy), {}, {}};
  std::memcpy(change.before.data(), newImage.data() + TRokRekord::kRemanentPoczatkowy,
              TRokRekord::kValueSize);
  // The value travels as its 8 bytes: no conversion can alter it.
  std::memcpy(newImage.data() + TRokRekord::kRemanentPoczatkowy,
              oldImage.data() + TRokRekord::kRemanentKoncowy, TRokRekord::kValueSize);
  const std::uint64_t carried = TRokRekord::Bits(newImage, TRokRekord::kRemanentPoczatkowy);
  if (IsSignallingNan(carried)) throw EInvalidOp();
  // The line is made before anything is written but logged only once the
  // record is in the system's hands: the log never claims an unstored value.
  const std::u16string line = std::u16string(katalog) + u" REMA: " +
                              FormatLogNumber(std::bit_cast<double>(carried), separator);
  if (journal) {
    // On the disk before the bytes change, so that an undo can put them back.
    std::memcpy(change.after.data(), newImage.data() + TRokRekord::kRemanentPoczatkowy,
                TRokRekord::kValueSize);
    journal->Record({change});
  }
  newFile.SeekRecord(0);
  newFile.WriteRecord(newImage.data());
  report.Logged(line);
  oldFile.Close();
  newFile.Close();
}

// The annual files of one installation. Its number is the same for every
// company: taken from the path once.
class AnnualFileNames {
 public:
  explicit AnnualFileNames(std::u16string_view installation)
      : installation_(installation), ending_(ExtractNumber(installation) + u"_ROK.REK") {}

  std::u16string For(std::u16string_view katalog) const {
    std::u16string name;
    name.reserve(installation_.size() + katalog.size() + 1 + ending_.size());
    name.append(installation_);
    AppendSlashStr(name, katalog);
    return name.append(ending_);
  }

 private:
  std::u16string_view installation_;
  std::u16string ending_;
};

}  // namespace

std::u16string AnnualFileName(std::u16string_view installation, std::u16string_view katalog) {
  return AnnualFileNames(installation).For(katalog);
}

void SkopiujRemanenty(platform::Os& os, std::u16string_view fSciezka_source,
                      std::u16string_view fSciezka_dest,
                      const std::vector<std::u16string>& katalogi, RunReport& report,
                      std::u16string_view decimalSeparator, RunJournal* journal) {
  const AnnualFileNames oldFiles(fSciezka_source), newFiles(fSciezka_dest);
  for (const auto& katalog : katalogi) {
    CarryOver(os, katalog, oldFiles.For(katalog), newFiles.For(katalog), report, decimalSeparator,
              journal);
  }
  report.Logged(u"OK. Remamenty skopiowano!");
}

}  // namespace transfer
