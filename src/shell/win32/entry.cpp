// The program's entry: the application window, frm_Main, and the message loop
// until frm_Main closes. The command line is not read.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/system_os.h"
#include "shell/application_title.h"
#include "shell/win32/application_window.h"
#include "shell/win32/failure_display.h"
#include "shell/win32/folder_dialog.h"
#include "shell/win32/main_window.h"
#include "shell/win32/message_boxes.h"
#include "shell/win32/registry_reader.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace shell::win32;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // Once, for the folder dialog and the suggestions of the directory fields.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  const auto os = platform::MakeSystemOs();
  const std::u16string title = shell::ApplicationTitle(os->ExecutablePath(), *os);
  ApplicationWindow application(title);
  MessageBoxes boxes(application.Handle());
  InstallFailureDisplay(boxes, title);

  SYSTEMTIME now{};
  GetLocalTime(&now);
  RegistryReader registry;
  FolderDialog folders(application.Handle());
  MainWindow main(*os, application, boxes, folders, registry, now.wYear);
  main.Create();
  main.Show();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (main.PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
