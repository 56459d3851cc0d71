#include "shell/win32/form_controls.h"

#include <algorithm>

#include "shell/win32/accessible_name.h"
#include "shell/win32/panels.h"
#include "shell/win32/system_failure.h"

namespace shell::win32 {

namespace {

constexpr int kFirstControlId = 100;
// Room inside a directory field's right end for its folder button.
constexpr int kFieldButtonWidth = 21;
// A check box's box and the gap before its text, at 96 DPI.
constexpr int kCheckBoxGlyph = 20;

const wchar_t* Wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

struct Creation {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

Creation CreationOf(Kind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  switch (kind) {
    case Kind::kContainer:
    case Kind::kPanel:
      return {kPanelClass, kChild | WS_CLIPCHILDREN, 0};
    case Kind::kPage:  // start-up shows the paths screen
      return {kPanelClass, WS_CHILD | WS_CLIPCHILDREN, 0};
    case Kind::kSplitter:
      return {kSplitterClass, kChild, 0};
    case Kind::kLabel:
      return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case Kind::kDirectoryField:  // its folder button inside is not painted over
      return {L"EDIT", kChild | ES_AUTOHSCROLL | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE};
    case Kind::kOkButton:
    case Kind::kCancelButton:
    case Kind::kPlainButton:
      return {L"BUTTON", kChild | BS_OWNERDRAW, 0};
    case Kind::kCheckBox:
      return {L"BUTTON", kChild | BS_AUTOCHECKBOX | BS_NOTIFY, 0};
    case Kind::kReadOnlyBox:  // the company lists show once paths are accepted
      return {L"EDIT", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case Kind::kEditableBox:
      return {L"EDIT", kChild | kMultiLine, WS_EX_CLIENTEDGE};
    case Kind::kLogBox:
      return {L"EDIT", kChild | kMultiLine | ES_AUTOHSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", kChild, 0};
}

}  // namespace

FormControls::~FormControls() {
  if (font_ != nullptr) DeleteObject(font_);
}

void FormControls::Create(HWND window, platform::Os& os) {
  window_ = window;
  for (const ControlSpec& spec : Controls()) {
    const Creation creation = CreationOf(spec.kind);
    const HWND parent = spec.id == Id::pg_1 ? window : Handle(spec.parent);
    const bool custom = creation.className == kPanelClass || creation.className == kSplitterClass;
    const std::u16string text(spec.kind == Kind::kPage ? std::u16string_view() : spec.text);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): lpParam is LPVOID; the procedure reads it as const
    void* const param = custom ? const_cast<ControlSpec*>(&spec) : nullptr;
    const HWND control = CreateWindowExW(
        creation.exStyle, creation.className, Wide(text), creation.style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(spec.id))),
        GetModuleHandleW(nullptr), param);
    if (control == nullptr) {
      RaiseSystemFailure(u"Cannot create the control \"" + std::u16string(spec.name) + u"\"",
                         GetLastError());
    }
    handles_[static_cast<std::size_t>(spec.id)] = control;
  }
  for (const ControlSpec& spec : Controls()) {
    GiveAccessibleName(Handle(spec.id), AccessibleName(spec.id));
  }
  sourceField_ = std::make_unique<DirectoryField>(Handle(Id::edt_ZETKA_source),
                                                  static_cast<WPARAM>(Id::edt_ZETKA_source), os);
  destField_ = std::make_unique<DirectoryField>(Handle(Id::edt_ZETKA_dest),
                                                static_cast<WPARAM>(Id::edt_ZETKA_dest), os);
  source_ = std::make_unique<FieldControl>(Handle(Id::edt_ZETKA_source));
  dest_ = std::make_unique<FieldControl>(Handle(Id::edt_ZETKA_dest));
  mmo_1_ = std::make_unique<LinesBox>(Handle(Id::mmo_1));
  mmo_2_ = std::make_unique<LinesBox>(Handle(Id::mmo_2));
  mmo_3_ = std::make_unique<LinesBox>(Handle(Id::mmo_3));
  chk_4_ = std::make_unique<CheckBox>(Handle(Id::chk_4));
  chk_Remanenty_ = std::make_unique<CheckBox>(Handle(Id::chk_Remanenty));
  mmo_Log_ = std::make_unique<LogBox>(Handle(Id::mmo_Log));
}

std::optional<Id> FormControls::IdOf(HWND window) const {
  for (; window != nullptr && window != window_; window = GetParent(window)) {
    const auto at = std::find(handles_.begin(), handles_.end(), window);
    if (at != handles_.end()) return static_cast<Id>(at - handles_.begin());
  }
  return std::nullopt;
}

DirectoryField& FormControls::Field(Id field) {
  return field == Id::edt_ZETKA_source ? *sourceField_ : *destField_;
}

MainFormControls FormControls::ForForm(Screens& screens, MessageDisplay& messages,
                                       ListDisplay& lists) {
  return {*source_,        *dest_,    *mmo_1_, *mmo_2_,  *mmo_3_, *chk_4_,
          *chk_Remanenty_, *mmo_Log_, screens, messages, lists};
}

void FormControls::ApplyFont(UINT dpi) {
  const HFONT old = font_;
  const std::u16string face(FontFace(static_cast<int>(dpi)));
  const bool scalable = face != kFontName;
  font_ = CreateFontW(FontHeight(static_cast<int>(dpi)), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, scalable ? OUT_TT_PRECIS : OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, Wide(face));
  for (const HWND control : handles_) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
  // A new font resets the margins: keep the fields' text clear of the button.
  for (const Id field : {Id::edt_ZETKA_source, Id::edt_ZETKA_dest}) {
    SendMessageW(Handle(field), EM_SETMARGINS, EC_RIGHTMARGIN,
                 MAKELPARAM(0, Scale(kFieldButtonWidth, static_cast<int>(dpi))));
    Field(field).PlaceButton(dpi);
  }
  if (old != nullptr) DeleteObject(old);
  MeasureTexts(dpi);
}

void FormControls::MeasureTexts(UINT dpi) {
  const HDC dc = GetDC(window_);
  const HGDIOBJ old = SelectObject(dc, font_);
  for (const ControlSpec& spec : Controls()) {
    if (spec.kind != Kind::kLabel && spec.kind != Kind::kCheckBox) continue;
    SIZE extent{};
    GetTextExtentPoint32W(dc, Wide(spec.text), static_cast<int>(spec.text.size()), &extent);
    const int glyph =
        spec.kind == Kind::kCheckBox ? Scale(kCheckBoxGlyph, static_cast<int>(dpi)) : 0;
    textWidths_[static_cast<std::size_t>(spec.id)] = extent.cx + glyph;
  }
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
}

void FormControls::FlushBoxes() const {
  for (const GatheredAppends* box : {static_cast<const GatheredAppends*>(mmo_1_.get()),
                                     static_cast<const GatheredAppends*>(mmo_2_.get()),
                                     static_cast<const GatheredAppends*>(mmo_Log_.get())}) {
    if (box != nullptr) box->Flush();
  }
}

}  // namespace shell::win32
