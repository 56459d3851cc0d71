#include "support/office.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/records.h"

namespace testing_support {

std::u16string In(std::u16string_view installation, std::u16string_view rest) {
  return std::u16string(installation) + u"\\" + std::u16string(rest);
}

Office::Office() {
  os.MakeDir(u"C:\\bin");
  os.PutFile(In(kSource, u"spisfirm.dat"), "");
  os.PutFile(In(kDest, u"spisfirm.dat"), "");
}

void Office::Register(const std::vector<std::string>& katalogi) {
  std::string firms;
  for (const auto& katalog : katalogi) firms += FirmaRecord("x", katalog);
  os.PutFile(In(kDest, u"spisfirm.dat"), firms);
}

void Office::Accept() {
  form.edt_ZETKA_source.text = kSource;
  form.edt_ZETKA_dest.text = kDest;
  main.btn_1Click();
  form.screen.events.clear();
}

ShownList Office::Preview() {
  form.screen.events.clear();
  main.btn_PodgladClick();
  EXPECT_EQ(form.screen.events, std::vector<std::u16string>{u"list|Podgląd"});
  return form.screen.lists.back();
}

ShownList Office::Undo(bool answer) {
  form.screen.events.clear();
  form.screen.answer = answer;
  main.btn_CofnijClick();
  EXPECT_EQ(form.screen.events.size(), 1u);
  return form.screen.lists.back();
}

void Generate(std::mt19937& random, Office& office) {
  const auto pick = [&random](int n) { return static_cast<int>(random() % n); };
  static const char* const kKatalogs[] = {"FIRMA1", "FIRMA2", "firma1", "FIRMA1\\", "BRAK"};
  static const char16_t* const kFiles[] = {u"BAZA_DW8.REK", u"INNY.DAT"};
  static const std::uint64_t kValues[] = {0,
                                          0x8000000000000000,   // -0
                                          0x4014000000000000,   // 5
                                          0x4029000000000000,   // 12.5
                                          0x405BE00000000000,   // 111.5
                                          0x7FF8000000000000};  // NaN
  const auto value = [&] { return BitsBytes(kValues[pick(6) == 0 ? 5 : pick(5)]); };
  const auto annual = [&] {
    std::string record = RokRecord(0, 0);
    record.replace(testing_support::kOpening, 8, pick(2) ? BitsBytes(0) : value());
    record.replace(testing_support::kClosing, 8, value());
    return pick(12) == 0 ? record.substr(0, 100) : record;
  };

  std::vector<std::string> katalogi;
  for (int i = pick(4); i > 0; --i) katalogi.emplace_back(kKatalogs[pick(5)]);
  office.Register(katalogi);
  for (const std::u16string katalog : {u"FIRMA1", u"FIRMA2"}) {
    for (const auto installation : {kSource, kDest}) {
      const bool old = installation == kSource;
      if (pick(8) == 0) continue;  // no company directory here
      office.os.MakeDir(In(installation, katalog));
      if (pick(6) != 0) {
        office.os.PutFile(In(installation, katalog + (old ? u"\\2008_ROK.REK" : u"\\2009_ROK.REK")),
                          annual(), !old && pick(10) == 0);
      }
      for (const auto file : kFiles) {
        const std::u16string name = In(installation, katalog + u"\\" + file);
        if (old && pick(3) != 0) office.os.PutFile(name, "nowy");
        if (!old && pick(2) == 0) office.os.PutFile(name, "stary");
        if (!old && pick(4) == 0) office.os.PutFile(name + u".old", "kopia");
        if (!old && pick(6) == 0) office.os.PutFile(name + u".$$$", "czesc");
      }
    }
  }
  office.form.mmo_3.lines.clear();
  for (const auto file : kFiles) {
    if (pick(3) != 0) office.form.mmo_3.lines.emplace_back(file);
  }
  office.form.chk_4.checked = pick(4) != 0;
  office.form.chk_Remanenty.checked = pick(4) != 0;
}

}  // namespace testing_support
