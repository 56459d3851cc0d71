#include "shell/form.h"

namespace shell {

namespace {

using enum Id;
using enum Kind;
constexpr Bevel kRaised = Bevel::kRaised, kLowered = Bevel::kLowered;

// Docked panels, splitters and the log box get their places from the layout;
// their rectangles here hold only their fixed width or height.
constexpr std::array<ControlSpec, kControlCount> kControls{{
    {pg_1, u"pg_1", pg_1, kContainer, {}, u""},
    {page_1, u"page_1", pg_1, kPage, {}, u"1. Ścieżki"},
    {page_2, u"page_2", pg_1, kPage, {}, u"page_2"},

    {pnl_1, u"pnl_1", page_1, kPanel, {0, 0, 330, 0}, u"", kLowered, kRaised},
    {spl1, u"spl1", page_1, kSplitter, {0, 0, 8, 0}, u""},
    {pnl_2, u"pnl_2", page_1, kPanel, {}, u"", kRaised},
    {lbl_1, u"lbl_1", pnl_1, kLabel, {8, 8, 191, 13}, u"Lokalizacja ZETKA_WX (katalog źródłowy):"},
    {edt_ZETKA_source, u"edt_ZETKA_source", pnl_1, kDirectoryField, {8, 24, 313, 21}, u""},
    {lbl_2, u"lbl_2", pnl_1, kLabel, {8, 48, 193, 13}, u"Lokalizacja ZETKA_WX (katalog docelowy):"},
    {edt_ZETKA_dest, u"edt_ZETKA_dest", pnl_1, kDirectoryField, {8, 64, 313, 21}, u""},
    {btn_1, u"btn_1", pnl_1, kOkButton, {8, 96, 313, 33}, u"OK"},
    {mmo_1, u"mmo_1", pnl_1, kReadOnlyBox, {8, 160, 146, 257}, u""},
    {mmo_2, u"mmo_2", pnl_1, kReadOnlyBox, {160, 160, 145, 257}, u""},

    {pnl_3, u"pnl_3", page_2, kPanel, {0, 0, 0, 41}, u"", kRaised, kLowered},
    {pnl_5, u"pnl_5", page_2, kPanel, {0, 0, 529, 0}, u""},
    {spl2, u"spl2", page_2, kSplitter, {0, 0, 8, 0}, u""},
    {pnl_4, u"pnl_4", page_2, kPanel, {}, u"", kRaised, kLowered},
    {pnl_6, u"pnl_6", pnl_4, kPanel, {0, 0, 0, 41}, u"LOG", kRaised},
    {chk_Remanenty,
     u"chk_Remanenty",
     pnl_5,
     kCheckBox,
     {10, 63, 393, 17},
     u"Skopiuj remanenty końcowe starego roku jako początkowe nowego roku"},
    {chk_4, u"chk_4", pnl_5, kCheckBox, {8, 126, 97, 16}, u"Skopiuj pliki:"},
    {mmo_3, u"mmo_3", pnl_5, kEditableBox, {32, 144, 185, 225}, kFileListAtStart},
    {mmo_Log, u"mmo_Log", pnl_4, kLogBox, {}, u""},
    {btn_2, u"btn_2", pnl_3, kOkButton, {16, 8, 97, 25}, u"SRU"},
    {btn_3, u"btn_3", pnl_3, kCancelButton, {120, 8, 193, 25}, u"Powrót do wyboru ścieżek"},
    {btn_4, u"btn_4", pnl_3, kPlainButton, {320, 8, 169, 25}, u"KOniec"},
    {btn_Podglad, u"btn_Podglad", pnl_3, kPlainButton, {496, 8, 97, 25}, u"Podgląd"},
    {btn_Cofnij, u"btn_Cofnij", pnl_3, kPlainButton, {600, 8, 97, 25}, u"Cofnij"},
}};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (static_cast<std::size_t>(kControls[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder(), "the table is indexed by Id");

}  // namespace

const std::array<ControlSpec, kControlCount>& Controls() { return kControls; }

const ControlSpec& Spec(Id id) { return kControls[static_cast<std::size_t>(id)]; }

std::optional<Screen> ScreenOf(Id id) {
  for (Id at = id; at != pg_1; at = Spec(at).parent) {
    if (at == page_1) return Screen::kPaths;
    if (at == page_2) return Screen::kRun;
  }
  return std::nullopt;
}

std::u16string_view AccessibleName(Id id) {
  switch (id) {
    case pg_1:
      return u"Ekrany programu";
    case mmo_1:
      return u"Nazwy firm";
    case mmo_2:
      return u"Katalogi firm";
    case mmo_3:
      return u"Pliki do skopiowania";
    case mmo_Log:
      return u"Log";
    default:
      return {};
  }
}

std::u16string_view FolderButtonName(Id field) {
  return field == edt_ZETKA_source ? u"Wybierz katalog źródłowy" : u"Wybierz katalog docelowy";
}

}  // namespace shell
