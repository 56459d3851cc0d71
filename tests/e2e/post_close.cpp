// Posts WM_CLOSE to the top-level window of the class named on the command
// line, as Windows' task list and the taskbar's "Close window" do. For the
// end-to-end tests, which cannot send it from outside Windows: under Wine a
// disabled window ignores the window manager's close. Exit code 0 when
// posted, 2 when no such window exists.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 3;
  const HWND window = FindWindowW(argv[1], nullptr);
  if (window == nullptr) return 2;
  return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
