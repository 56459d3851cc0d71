#include "shell/win32/panels.h"

#include <windowsx.h>

#include "shell/win32/boundary.h"
#include "shell/win32/painting.h"
#include "shell/win32/window_class.h"

namespace shell::win32 {

namespace {

// The extra bytes of both classes: the control's spec, and its font.
constexpr int kSpecSlot = 0;
constexpr int kFontSlot = sizeof(LONG_PTR);

const ControlSpec& SpecOf(HWND window) {
  return *reinterpret_cast<const ControlSpec*>(GetWindowLongPtrW(window, kSpecSlot));
}

WPARAM IdOf(HWND window) { return static_cast<WPARAM>(SpecOf(window).id); }

HWND MainWindowOf(HWND window) { return GetAncestor(window, GA_ROOT); }

LRESULT PanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, kSpecSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_SETFONT:
      SetWindowLongPtrW(window, kFontSlot, static_cast<LONG_PTR>(wParam));
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(window, kFontSlot);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      PaintPanel(dc, client, SpecOf(window),
                 reinterpret_cast<HFONT>(GetWindowLongPtrW(window, kFontSlot)));
      EndPaint(window, &paint);
      return 0;
    }
    // What the controls report belongs to the main window.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(MainWindowOf(window), message, wParam, lParam);
    // pg_1 holds the focus without a mark; the buttons show where Enter goes.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      PostMessageW(MainWindowOf(window), kFocusMoved, IdOf(window), 0);
      return 0;
    case WM_CLOSE:
      // Sent by a multi-line edit on Esc in a dialog: a panel never closes.
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SplitterMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, kSpecSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      PaintSplitter(dc, client);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
      return TRUE;
    case WM_LBUTTONDOWN: {
      // The start of the drag in screen coordinates, kept in the window's
      // own long so the moves are measured from it.
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(window, &at);
      SetWindowLongPtrW(window, GWLP_USERDATA, at.x);
      SetCapture(window);
      SendMessageW(MainWindowOf(window), kSplitterGrabbed, IdOf(window), 0);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (GetCapture() == window) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &at);
        const LONG_PTR start = GetWindowLongPtrW(window, GWLP_USERDATA);
        SendMessageW(MainWindowOf(window), kSplitterDragged, IdOf(window),
                     static_cast<LPARAM>(at.x - start));
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

template <LRESULT (*Handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK Guarded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ShownOnFailure(LRESULT{0}, [&] { return Handler(window, message, wParam, lParam); });
}

// Bevels at the edges and a centred caption: all of it paints again when the
// size changes.
void DescribePanel(WNDCLASSEXW& windowClass) {
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.cbWndExtra = 2 * sizeof(LONG_PTR);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
}

WindowClass panelClass(kPanelClass, [](WNDCLASSEXW& windowClass) {
  DescribePanel(windowClass);
  windowClass.lpfnWndProc = &Guarded<PanelMessage>;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
});
WindowClass splitterClass(kSplitterClass, [](WNDCLASSEXW& windowClass) {
  DescribePanel(windowClass);
  windowClass.lpfnWndProc = &Guarded<SplitterMessage>;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_SIZEWE);
});

}  // namespace

void RegisterPanelClasses() {
  panelClass.Name();
  splitterClass.Name();
}

}  // namespace shell::win32
