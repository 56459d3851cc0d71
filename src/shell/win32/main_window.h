// frm_Main, the program's one window: message dispatch, its two screens,
// focus, the key rules applied before the platform's own handling, and DPI.
// Its controls are owned by one object built from the control table; its
// clicks go to the main form, Tfrm_Main, which runs the year-end transfer.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>

#include "platform/os.h"
#include "shell/form.h"
#include "shell/layout.h"
#include "shell/main_form.h"
#include "shell/startup.h"
#include "shell/win32/application_window.h"
#include "shell/win32/base_window.h"
#include "shell/win32/folder_dialog.h"
#include "shell/win32/form_controls.h"
#include "shell/win32/message_boxes.h"

namespace shell::win32 {

class MainWindow : public BaseWindow<MainWindow> {
 public:
  // Start-up reads the registry through `registry` for the year given.
  MainWindow(platform::Os& os, ApplicationWindow& application, MessageBoxes& boxes,
             FolderDialog& folders, RegistryReader& registry, int year);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window, which proposes the paths while it is created, at its
  // size and centred on the primary monitor; it is not shown yet. Raises the
  // failure when the window or one of its controls cannot be made.
  void Create();
  void Show();

  // The key rules for a message about to be dispatched; true when the key
  // has been dealt with and must go no further.
  bool PreTranslate(const MSG& message);

  HWND Control(Id id) const { return controls_.Handle(id); }
  Screen ShownScreen() const;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  class ScreenSwitch;
  class Lists;

  static RECT StartingPlace(UINT dpi);
  void OnCreate();
  void FormCreate();
  void LayOut();
  void SetFieldText(Id field, std::u16string_view text);
  void OpenFolderDialog(Id field);
  void ShowScreen(Screen screen);
  void InvalidateButtons();
  void Press(Id button);
  void OnCommand(WORD code, HWND control);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnSplitterDragged(Id splitter, int moved);
  void KeepToOneLine(HWND field);
  LRESULT PaintButton(const DRAWITEMSTRUCT& item);
  Id FocusedId() const;
  bool ListsVisible() const;
  Id EnterTarget() const;
  // Runs one handler: what escapes it goes to the failure display, and the
  // lines it gathered go into their boxes. One started by the user's input
  // drops the input typed meanwhile. A close requested while it ran (or a
  // box was up) is carried out once the outermost handler has ended.
  template <typename Handler>
  void RunHandler(Handler handler, bool startedByInput = true);
  void CarryOutHeldClose();

  platform::Os& os_;
  ApplicationWindow& application_;
  MessageBoxes& boxes_;
  FolderDialog& folders_;
  RegistryReader& registry_;
  int year_;

  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  SplitterWidths widths_{};
  int grabbedWidth_ = 0;
  HWND savedFocus_ = nullptr;
  bool keepingToOneLine_ = false;
  int busy_ = 0;  // handlers running and boxes open
  bool closeHeld_ = false;
  std::exception_ptr creationFailure_;

  // Declared before the form, which reaches them: they outlive it.
  FormControls controls_;
  std::unique_ptr<ScreenSwitch> screens_;
  std::unique_ptr<Lists> lists_;
  std::unique_ptr<Tfrm_Main> form_;
};

}  // namespace shell::win32
