#include "shell/win32/program.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <optional>

#include "shell/application_title.h"
#include "shell/win32/application_window.h"
#include "shell/win32/boundary.h"
#include "shell/win32/failure_display.h"
#include "shell/win32/folder_dialog.h"
#include "shell/win32/main_window.h"
#include "shell/win32/system_library.h"

namespace shell::win32 {

namespace {

// OLE, not only COM: the folder dialog with the new style drags and drops
// through it, and the suggestions of the directory fields use COM.
class OleForThisThread {
 public:
  OleForThisThread() : result_(OleInitialize(nullptr)) {}
  ~OleForThisThread() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  OleForThisThread(const OleForThisThread&) = delete;
  OleForThisThread& operator=(const OleForThisThread&) = delete;

 private:
  HRESULT result_;
};

// The failure display over the program's boxes, as long as they are there.
class FailureDisplayScope {
 public:
  FailureDisplayScope(MessageBoxes& boxes, std::u16string title) {
    InstallFailureDisplay(boxes, std::move(title));
  }
  ~FailureDisplayScope() { RemoveFailureDisplay(); }
  FailureDisplayScope(const FailureDisplayScope&) = delete;
  FailureDisplayScope& operator=(const FailureDisplayScope&) = delete;
};

}  // namespace

int RunProgram(const ProgramParts& parts) {
  // Before anything loads a DLL: none from the folder the exe was started
  // from, where anyone who can put a file beside it (a Downloads folder)
  // could make it run their code.
  SearchDllsInSystemFolderOnly();
  // A load or a run takes longer than the 5 s after which Windows would put
  // a "Not Responding" ghost over the window, whose close ends the process in
  // the middle of a copy: the window stays as it is.
  DisableProcessWindowsGhosting();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const OleForThisThread ole;

  const std::u16string title = ApplicationTitle(parts.os.ExecutablePath(), parts.os);
  // The failure display is there before any window: a window that cannot be
  // made is shown as any failure is.
  MessageBoxes boxes(nullptr, parts.showBox);
  const FailureDisplayScope display(boxes, title);
  std::optional<ApplicationWindow> application;
  std::optional<FolderDialog> folders;
  std::optional<MainWindow> main;
  const bool made = ShownOnFailure(false, [&] {
    application.emplace(title);
    boxes.SetApplicationWindow(application->Handle());
    folders.emplace(application->Handle());
    main.emplace(parts.os, *application, boxes, *folders, parts.registry, parts.year);
    main->Create();
    return true;
  });
  if (!made) return 1;
  main->Show();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (main->PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace shell::win32
