// Any bytes as the destination's company register, loaded by the "OK" button
// over an in-memory pair of installations. Whatever the bytes, the pair is
// accepted with one entry per whole 103-byte record, each name read from
// within its own field (its length byte, at most the field's room), and the
// register is neither written nor left open.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/targets.h"
#include "shell/main_form.h"
#include "support/fake_controls.h"
#include "support/memory_os.h"

namespace fuzz {

namespace {

constexpr std::size_t kRecord = 103;

// The text of a field as the layout places it: a length byte at `at`, then
// at most `room` characters.
std::u16string Field(testing_support::MemoryOs& os, const std::string& record, std::size_t at,
                     std::size_t room) {
  const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(record[at]), room);
  return os.AnsiToText(std::string_view(record).substr(at + 1, length));
}

}  // namespace

int RegisterTarget(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  testing_support::MemoryOs os;
  os.PutFile(u"C:\\zetka_2008\\spisfirm.dat", "");
  os.PutFile(u"C:\\zetka_2009\\spisfirm.dat", bytes);
  testing_support::FakeForm form;
  form.edt_ZETKA_source.text = u"C:\\zetka_2008";
  form.edt_ZETKA_dest.text = u"C:\\zetka_2009";
  shell::Tfrm_Main main(os, form.Controls());
  main.btn_1Click();

  Check(form.screen.events == std::vector<std::u16string>{u"lists", u"run screen"},
        "the pair was not accepted");
  const std::size_t records = size / kRecord;
  Check(form.mmo_1.lines.size() == records && form.mmo_2.lines.size() == records,
        "not one entry per whole record");
  for (std::size_t i = 0; i < records; ++i) {
    const std::string record = bytes.substr(i * kRecord, kRecord);
    Check(form.mmo_1.lines[i] == Field(os, record, 0, 31), "a name read outside its field");
    Check(form.mmo_2.lines[i] == Field(os, record, 32, 70), "a directory read outside its field");
  }
  Check(os.FileBytes(u"C:\\zetka_2009\\spisfirm.dat") == bytes, "the register was changed");
  Check(os.OpenHandles() == 0, "the register was left open");
  return 0;
}

}  // namespace fuzz
