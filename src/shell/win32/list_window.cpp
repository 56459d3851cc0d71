#include "shell/win32/list_window.h"

#include <algorithm>
#include <optional>
#include <span>

#include "shell/controls.h"
#include "shell/layout.h"
#include "shell/win32/accessible_name.h"
#include "shell/win32/base_window.h"
#include "shell/win32/box_controls.h"
#include "shell/win32/input_block.h"
#include "shell/win32/system_failure.h"
#include "shell/win32/window_class.h"

namespace shell::win32 {

namespace {

// Sizes at 96 DPI.
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 400;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 97;
constexpr int kButtonHeight = 25;

constexpr int kYesId = 1, kNoId = 2, kCloseId = 3;

struct ButtonSpec {
  int id;
  const wchar_t* text;
};
constexpr ButtonSpec kCloseButtons[] = {{kCloseId, L"Zamknij"}};
constexpr ButtonSpec kAskButtons[] = {{kYesId, L"Tak"}, {kNoId, L"Nie"}};

// The whole text of the box: the summary, an empty line, the lines. A NUL in
// a line shows as a mark, as in the log box.
std::u16string BoxText(const ListContent& content) {
  std::u16string text;
  for (const char16_t c : content.summary) {
    if (c == u'\n') text += u'\r';
    text += c;
  }
  if (!content.lines.empty()) text += u"\r\n\r\n";
  for (std::size_t i = 0; i < content.lines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    AppendShownInBox(text, content.lines[i]);
  }
  return text;
}

class ListWindow : public BaseWindow<ListWindow> {
 public:
  ListWindow(const ListContent& content, HFONT font, UINT dpi)
      : content_(content), font_(font), dpi_(static_cast<int>(dpi)) {}

  void Create(HWND owner);
  HWND Handle() const { return hwnd_; }
  std::optional<ListAnswer> Answer() const { return answer_; }
  // The keys the window answers itself, before the controls see them.
  bool PreTranslate(const MSG& message);
  void Destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  int Scaled(int pixels96) const { return Scale(pixels96, dpi_); }
  void CreateControls();
  void LayOut();
  void Press(int id);
  ListAnswer Dismissed() const { return content_.asks ? ListAnswer::kNo : ListAnswer::kClosed; }
  // The box, then the buttons: the order Tab follows.
  std::vector<HWND> TabOrder() const;

  const ListContent& content_;
  HFONT font_;
  int dpi_;
  HWND box_ = nullptr;
  std::vector<HWND> buttons_;
  std::optional<ListAnswer> answer_;
};

WindowClass listClass(L"Dopliki32List", [](WNDCLASSEXW& windowClass) {
  windowClass.lpfnWndProc = &BaseWindow<ListWindow>::WindowProc;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
});

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

void ListWindow::Create(HWND owner) {
  RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // Centred over its owner.
  RECT over{};
  GetWindowRect(owner, &over);
  const int left = (over.left + over.right - width) / 2;
  const int top = (over.top + over.bottom - height) / 2;
  const HWND created = CreateWindowExW(
      kExStyle, listClass.Name(), reinterpret_cast<const wchar_t*>(content_.title.c_str()), kStyle,
      left, top, width, height, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (created == nullptr) RaiseSystemFailure(u"Cannot create the window", GetLastError());
}

void ListWindow::CreateControls() {
  box_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                             ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                         0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (box_ == nullptr) RaiseSystemFailure(u"Cannot create the window", GetLastError());
  // A preview of thousands of companies is longer than an edit's default limit.
  SendMessageW(box_, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetWindowText(box_, BoxText(content_));
  GiveAccessibleName(box_, content_.title);
  const bool asks = content_.asks;
  for (const ButtonSpec& spec : asks ? std::span<const ButtonSpec>(kAskButtons)
                                     : std::span<const ButtonSpec>(kCloseButtons)) {
    const HWND button =
        CreateWindowExW(0, L"BUTTON", spec.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (button == nullptr) RaiseSystemFailure(u"Cannot create the window", GetLastError());
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    buttons_.push_back(button);
  }
  LayOut();
}

void ListWindow::LayOut() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int margin = Scaled(kMargin), width = Scaled(kButtonWidth), height = Scaled(kButtonHeight);
  const int buttonsTop = client.bottom - margin - height;
  SetWindowPos(box_, nullptr, margin, margin, client.right - 2 * margin, buttonsTop - 2 * margin,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The buttons at the right of the bottom edge, in their order.
  int left = client.right - margin - static_cast<int>(buttons_.size()) * (width + margin) + margin;
  for (const HWND button : buttons_) {
    SetWindowPos(button, nullptr, left, buttonsTop, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    left += width + margin;
  }
}

std::vector<HWND> ListWindow::TabOrder() const {
  std::vector<HWND> order{box_};
  order.insert(order.end(), buttons_.begin(), buttons_.end());
  return order;
}

void ListWindow::Press(int id) {
  answer_ = id == kYesId ? ListAnswer::kYes : id == kNoId ? ListAnswer::kNo : ListAnswer::kClosed;
}

bool ListWindow::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) {
    return false;
  }
  // An auto-repeat is the keystroke that began it: it answers nothing.
  const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
  const bool modified = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
  switch (message.wParam) {
    case VK_ESCAPE:
      if (!repeated && !modified) answer_ = Dismissed();
      return true;
    case VK_RETURN: {
      if (repeated || modified) return true;
      const HWND focus = GetFocus();
      const bool onButton = std::find(buttons_.begin(), buttons_.end(), focus) != buttons_.end();
      Press(GetDlgCtrlID(onButton ? focus : buttons_.back()));
      return true;
    }
    case VK_TAB: {
      if (modified) return true;
      const std::vector<HWND> order = TabOrder();
      const auto at = std::find(order.begin(), order.end(), GetFocus());
      const std::size_t here = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin());
      const std::size_t count = order.size();
      const bool back = GetKeyState(VK_SHIFT) < 0;
      SetFocus(order[(here + (back ? count - 1 : 1)) % count]);
      return true;
    }
    default:
      return false;
  }
}

LRESULT ListWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Press(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      answer_ = Dismissed();
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The read-only box on the window's face, as the system shows one.
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace

ListAnswer ShowList(HWND owner, const ListContent& content, HFONT font, UINT dpi) {
  ListWindow window(content, font, dpi);
  std::optional<int> quit;
  {
    // The other windows of the program are blocked as under a message box,
    // and the owner as a box's owner is.
    InputBlock block(owner);
    EnableWindow(owner, FALSE);
    struct OwnerBack {
      HWND owner;
      ListWindow& window;
      // The owner is enabled before the window goes, so that the system
      // gives the activation back to it.
      OwnerBack(HWND backTo, ListWindow& shown) : owner(backTo), window(shown) {}
      OwnerBack(const OwnerBack&) = delete;
      OwnerBack& operator=(const OwnerBack&) = delete;
      ~OwnerBack() {
        EnableWindow(owner, TRUE);
        window.Destroy();
      }
    } back{owner, window};
    window.Create(owner);
    ShowWindow(window.Handle(), SW_SHOW);
    SetFocus(GetDlgItem(window.Handle(), content.asks ? kNoId : kCloseId));
    MSG message;
    while (!window.Answer()) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got <= 0) {
        // The end of the program's loop, asked for meanwhile: passed on.
        quit = got == 0 ? static_cast<int>(message.wParam) : 0;
        break;
      }
      if (window.PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (quit) PostQuitMessage(*quit);
  return window.Answer().value_or(content.asks ? ListAnswer::kNo : ListAnswer::kClosed);
}

}  // namespace shell::win32
