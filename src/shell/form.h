// The main window's controls: names, kinds, places and texts at 96 dots per
// inch, in one table that the real window builds itself from.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace shell {

enum class Id {
  pg_1,  // the screen container; holds the focus at open, shows no focus mark
  page_1,
  page_2,
  // the paths screen
  pnl_1,
  spl1,
  pnl_2,
  lbl_1,
  edt_ZETKA_source,
  lbl_2,
  edt_ZETKA_dest,
  btn_1,
  mmo_1,
  mmo_2,
  // the run screen
  pnl_3,
  pnl_5,
  spl2,
  pnl_4,
  pnl_6,
  chk_Remanenty,
  chk_4,
  mmo_3,
  mmo_Log,
  btn_2,
  btn_3,
  btn_4,
  btn_Podglad,
  btn_Cofnij,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Id::btn_Cofnij) + 1;

enum class Kind {
  kContainer,
  kPage,
  kPanel,     // framed by bevels, or not
  kSplitter,  // vertical, dragged to change the width of the panel on its left
  kLabel,
  kDirectoryField,
  kOkButton,      // a green tick; the default button of its screen
  kCancelButton,  // a red cross; the cancel button of its screen
  kPlainButton,
  kCheckBox,
  kReadOnlyBox,  // multi-line, wraps, no scroll bars
  kEditableBox,  // multi-line, wraps, no scroll bars
  kLogBox,       // multi-line, editable, never wraps, vertical scroll bar
};

// A panel's frame: its outer and inner bevel.
enum class Bevel { kNone, kRaised, kLowered };

enum class Screen { kPaths, kRun };

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct ControlSpec {
  Id id;
  std::u16string_view name;
  Id parent;  // pg_1 names itself: its parent is the window
  Kind kind;
  Rect rect;  // at 96 DPI, relative to the parent; docked ones are laid out
  std::u16string_view text;
  Bevel outer = Bevel::kNone;
  Bevel inner = Bevel::kNone;
};

inline constexpr std::u16string_view kCaption =
    u"Kopiwanie dodatkowych plików ZETKA_WX po konwersji na nowy rok";
inline constexpr int kClientWidth = 1048;
inline constexpr int kClientHeight = 456;
inline constexpr std::u16string_view kFontName = u"MS Sans Serif";
// Its TrueType twin, of the same metrics.
inline constexpr std::u16string_view kScalableFontName = u"Microsoft Sans Serif";
inline constexpr int kFontPoints = 8;
inline constexpr std::u16string_view kFileListAtStart = u"BAZA_DW8.REK";

// Every control in creation order: a parent before its children.
const std::array<ControlSpec, kControlCount>& Controls();
const ControlSpec& Spec(Id id);

// The screen a control belongs to; none for pg_1.
std::optional<Screen> ScreenOf(Id id);

// The name a screen reader says for a control that shows no text of its own
// and has no label just before it: the multi-line boxes and the container
// that holds the focus at open. Empty for the others, which the system names
// from their text, or, for a directory field, from the label before it.
std::u16string_view AccessibleName(Id id);
// The name of the folder button inside a directory field, which shows only
// a picture.
std::u16string_view FolderButtonName(Id field);

inline bool IsButton(Kind kind) {
  return kind == Kind::kOkButton || kind == Kind::kCancelButton || kind == Kind::kPlainButton;
}
inline bool IsMultiLineBox(Kind kind) {
  return kind == Kind::kReadOnlyBox || kind == Kind::kEditableBox || kind == Kind::kLogBox;
}

}  // namespace shell
