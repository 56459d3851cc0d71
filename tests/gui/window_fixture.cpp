#include "window_fixture.h"

#include <ole2.h>

#include <atomic>
#include <cstdlib>
#include <string_view>

#include "shell/win32/box_controls.h"
#include "shell/win32/dpi.h"
#include "shell/win32/failure_display.h"
#include "support/records.h"
#include "support/system.h"

namespace testing_support {

namespace {

std::vector<ShownBox> shownBoxes;

// The key a KeyTakenWatch waits for, and whether it has been taken.
std::atomic<bool> watchedKeyTaken{false};
constexpr WORD kWatchedKey = VK_SHIFT;

// The program's windows: the thread has others (the input method's, OLE's),
// which are not the program's to block.
BOOL CALLBACK CheckDisabled(HWND window, LPARAM context) {
  auto* box = reinterpret_cast<ShownBox*>(context);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  const bool programs =
      std::wstring_view(name) == L"Tfrm_Main" || std::wstring_view(name) == L"Dopliki32Application";
  if (programs && window != box->owner && IsWindowEnabled(window)) box->othersDisabled = false;
  return TRUE;
}

}  // namespace

int WINAPI RecordBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  ShownBox box{owner, reinterpret_cast<const char16_t*>(text),
               reinterpret_cast<const char16_t*>(caption), flags, true};
  EnumThreadWindows(GetCurrentThreadId(), &CheckDisabled, reinterpret_cast<LPARAM>(&box));
  shownBoxes.push_back(box);
  return IDOK;
}

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

void SendMouse(POINT at, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
}

KeyTakenWatch::KeyTakenWatch()
    : hook_(SetWindowsHookExW(WH_GETMESSAGE, &KeyTakenWatch::NoteTaken, nullptr,
                              GetCurrentThreadId())) {}

KeyTakenWatch::~KeyTakenWatch() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

bool KeyTakenWatch::TypeAndWait(DWORD limitMs) {
  watchedKeyTaken = false;
  SendKey(kWatchedKey, false);
  SendKey(kWatchedKey, true);
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  while (!watchedKeyTaken && GetTickCount64() < deadline) Sleep(10);
  return watchedKeyTaken;
}

LRESULT CALLBACK KeyTakenWatch::NoteTaken(int code, WPARAM remove, LPARAM message) {
  const auto* taken = reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && remove == PM_REMOVE && taken->message == WM_KEYDOWN &&
      taken->wParam == kWatchedKey) {
    watchedKeyTaken = true;
  }
  return CallNextHookEx(nullptr, code, remove, message);
}

std::u16string ShownBox::Event() const {
  const std::string number = std::to_string(flags);
  return caption + u"|" + text + u"|" + std::u16string(number.begin(), number.end());
}

HWND FindOwnDialog(const std::function<bool(HWND)>& matches) {
  HWND dialog = nullptr;
  while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(dialog, &process);
    if (process == GetCurrentProcessId() && matches(dialog)) return dialog;
  }
  return nullptr;
}

WindowTest::WindowTest() : os(SystemOs(), pair.dir.Path(u"bin\\dopliki32.exe")) {
  pair.dir.MakeDir(u"bin");
  shownBoxes.clear();
}

WindowTest::~WindowTest() { Close(); }

void WindowTest::ProposeThePair() {
  registry.keys[shell::YearKey(kYear - 1)] = TextValue(pair.dir.Path(Installations::kOld));
  registry.keys[shell::YearKey(kYear)] = TextValue(pair.dir.Path(Installations::kNew));
}

void WindowTest::Open() {
  // As the program does, for the folder dialog and the suggestions.
  OleInitialize(nullptr);
  application.emplace(std::u16string(kTitle));
  boxes.emplace(application->Handle(), showBox != nullptr ? showBox : &RecordBox);
  shell::win32::InstallFailureDisplay(*boxes, std::u16string(kTitle));
  folders.emplace(application->Handle(), browse);
  main.emplace(os, *application, *boxes, *folders, registry, kYear);
  main->Create();
  main->Show();
  Pump();
}

void WindowTest::Close() {
  const bool opened = application.has_value();
  main.reset();
  folders.reset();
  boxes.reset();
  application.reset();
  if (opened) OleUninitialize();
  // The window's end posted the end of the message loop: not for the next test.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

void WindowTest::Keys(std::initializer_list<Keystroke> keys) {
  for (const Keystroke& k : keys) {
    TypeAtOnce({k});
    Pump();
  }
}

void WindowTest::TypeAtOnce(std::initializer_list<Keystroke> keys) {
  for (const Keystroke& k : keys) {
    if (k.shift) SendKey(VK_SHIFT, false);
    if (k.ctrl) SendKey(VK_CONTROL, false);
    if (k.alt) SendKey(VK_MENU, false);
    SendKey(k.key, false);
    SendKey(k.key, true);
    if (k.alt) SendKey(VK_MENU, true);
    if (k.ctrl) SendKey(VK_CONTROL, true);
    if (k.shift) SendKey(VK_SHIFT, true);
  }
}

void WindowTest::TypeClick(shell::Id control) {
  RECT r;
  GetWindowRect(Control(control), &r);
  const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  constexpr DWORD kClick[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (const DWORD flags : kClick) SendMouse(middle, flags);
}

void WindowTest::Pump() {
  const ULONGLONG deadline = GetTickCount64() + 5000;
  ULONGLONG lastMessage = GetTickCount64();
  while (GetTickCount64() < deadline) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      lastMessage = GetTickCount64();
      if (message.message == WM_QUIT) continue;
      if (main && main->Handle() != nullptr && main->PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } else if (GetTickCount64() - lastMessage > 200) {
      return;
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
}

std::u16string WindowTest::Text(shell::Id id) const {
  return shell::win32::WindowText(Control(id));
}

shell::Rect WindowTest::Placed(shell::Id id) const {
  RECT r;
  GetWindowRect(Control(id), &r);
  MapWindowPoints(nullptr, GetParent(Control(id)), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int WindowTest::Dpi() const { return static_cast<int>(shell::win32::WindowDpi(main->Handle())); }

std::optional<shell::Id> WindowTest::Focus() const {
  const HWND focus = GetFocus();
  for (const auto& spec : shell::Controls()) {
    if (Control(spec.id) == focus) return spec.id;
  }
  return std::nullopt;
}

std::optional<int> WindowTest::ExpectedDpi() {
  const char* dpi = std::getenv("DOPLIKI_EXPECT_DPI");
  if (dpi == nullptr || *dpi == '\0') return std::nullopt;
  return std::atoi(dpi);
}

std::vector<ShownBox>& WindowTest::Boxes() { return shownBoxes; }

}  // namespace testing_support
