// The controls of frm_Main, made from the control table and owned in one
// place: their handles, the font they show their texts in, the widths of
// those texts, and one wrapper for each control that the main form or the
// window reaches (the directory fields, the boxes, the check boxes).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "platform/os.h"
#include "shell/form.h"
#include "shell/layout.h"
#include "shell/main_form.h"
#include "shell/win32/box_controls.h"
#include "shell/win32/directory_field.h"

namespace shell::win32 {

class FormControls {
 public:
  FormControls() = default;
  ~FormControls();
  FormControls(const FormControls&) = delete;
  FormControls& operator=(const FormControls&) = delete;

  // Makes every control of the table inside `window`, in table order, names
  // them for screen readers and wraps them. Raises the failure when the
  // system refuses one; those made before it go with the window.
  void Create(HWND window, platform::Os& os);

  // The control's handle; none before it is made.
  HWND Handle(Id id) const { return handles_[static_cast<std::size_t>(id)]; }
  const std::array<HWND, kControlCount>& Handles() const { return handles_; }
  // The control that is `window` or holds it (a field's folder button).
  std::optional<Id> IdOf(HWND window) const;
  DirectoryField& Field(Id field);

  // The controls as the main form's handlers reach them.
  MainFormControls ForForm(Screens& screens, MessageDisplay& messages, ListDisplay& lists);

  // Makes the font for the DPI and gives it to every control, places the
  // fields' folder buttons and measures the texts anew.
  void ApplyFont(UINT dpi);
  HFONT Font() const { return font_; }
  const TextWidths& MeasuredTexts() const { return textWidths_; }

  // Puts the lines gathered for the boxes into them.
  void FlushBoxes() const;

 private:
  void MeasureTexts(UINT dpi);

  HWND window_ = nullptr;
  std::array<HWND, kControlCount> handles_{};
  HFONT font_ = nullptr;
  TextWidths textWidths_{};
  std::unique_ptr<FieldControl> source_, dest_;
  std::unique_ptr<DirectoryField> sourceField_, destField_;
  std::unique_ptr<LinesBox> mmo_1_, mmo_2_, mmo_3_;
  std::unique_ptr<CheckBox> chk_4_, chk_Remanenty_;
  std::unique_ptr<LogBox> mmo_Log_;
};

}  // namespace shell::win32
