#include "shell/win32/main_window.h"

#include <exception>
#include <utility>

#include "shell/field_text.h"
#include "shell/folder_field.h"
#include "shell/keys.h"
#include "shell/navigation.h"
#include "shell/win32/boundary.h"
#include "shell/win32/dpi.h"
#include "shell/win32/input_block.h"
#include "shell/win32/list_window.h"
#include "shell/win32/painting.h"
#include "shell/win32/panels.h"
#include "shell/win32/system_failure.h"
#include "shell/win32/window_class.h"

namespace shell::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

const wchar_t* Wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

WindowClass mainClass(L"Tfrm_Main", [](WNDCLASSEXW& windowClass) {
  windowClass.lpfnWndProc = &BaseWindow<MainWindow>::WindowProc;
  windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
});

}  // namespace

// What the acceptance of a pair of paths changes on the screen.
class MainWindow::ScreenSwitch final : public Screens {
 public:
  explicit ScreenSwitch(MainWindow& window) : window_(window) {}
  void ShowCompanyLists() override {
    ShowWindow(window_.Control(Id::mmo_1), SW_SHOW);
    ShowWindow(window_.Control(Id::mmo_2), SW_SHOW);
  }
  void ShowRunScreen() override { window_.ShowScreen(Screen::kRun); }

 private:
  MainWindow& window_;
};

// The form's list windows, owned by frm_Main in its font and at its DPI.
class MainWindow::Lists final : public ListDisplay {
 public:
  explicit Lists(MainWindow& window) : window_(window) {}
  void ShowList(std::u16string_view title, std::u16string_view summary,
                const std::vector<std::u16string>& lines) override {
    Show({std::u16string(title), std::u16string(summary), lines, false});
  }
  bool Ask(std::u16string_view title, std::u16string_view summary,
           const std::vector<std::u16string>& lines) override {
    return Show({std::u16string(title), std::u16string(summary), lines, true}) ==
           win32::ListAnswer::kYes;
  }

 private:
  win32::ListAnswer Show(const win32::ListContent& content) {
    // As before a message box: what the handler gathered for the boxes
    // shows behind the window.
    window_.controls_.FlushBoxes();
    return win32::ShowList(window_.hwnd_, content, window_.controls_.Font(), window_.dpi_);
  }

  MainWindow& window_;
};

MainWindow::MainWindow(platform::Os& os, ApplicationWindow& application, MessageBoxes& boxes,
                       FolderDialog& folders, RegistryReader& registry, int year)
    : os_(os),
      application_(application),
      boxes_(boxes),
      folders_(folders),
      registry_(registry),
      year_(year) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

// The window's rectangle at a DPI: the client area at its size, centred on
// the primary monitor's work area, where the program starts.
RECT MainWindow::StartingPlace(UINT dpi) {
  const SIZE size = WindowSizeFor(
      {Scale(kClientWidth, static_cast<int>(dpi)), Scale(kClientHeight, static_cast<int>(dpi))},
      kStyle, 0, dpi);
  const RECT work = PrimaryWorkArea();
  const int left = work.left + (work.right - work.left - size.cx) / 2;
  const int top = work.top + (work.bottom - work.top - size.cy) / 2;
  return {left, top, left + size.cx, top + size.cy};
}

void MainWindow::Create() {
  RegisterPanelClasses();
  // Made where it is shown, at that monitor's DPI: made elsewhere and moved,
  // it would get the DPI of the monitor it was made on, and the change of DPI
  // on the way would move it off the centre.
  const UINT dpi = PrimaryMonitorDpi();
  const RECT place = StartingPlace(dpi);
  const HWND created = CreateWindowExW(
      0, mainClass.Name(), Wide(kCaption), kStyle, place.left, place.top, place.right - place.left,
      place.bottom - place.top, application_.Handle(), nullptr, GetModuleHandleW(nullptr), this);
  const DWORD code = GetLastError();
  if (creationFailure_) std::rethrow_exception(std::exchange(creationFailure_, nullptr));
  if (created == nullptr) RaiseSystemFailure(u"Cannot create the main window", code);
  // A system that knows no DPI of a monitor made it at another one.
  if (dpi_ != dpi) {
    const RECT moved = StartingPlace(dpi_);
    SetWindowPos(hwnd_, nullptr, moved.left, moved.top, moved.right - moved.left,
                 moved.bottom - moved.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void MainWindow::OnCreate() {
  dpi_ = WindowDpi(hwnd_);
  widths_ = InitialWidths(static_cast<int>(dpi_));
  controls_.Create(hwnd_, os_);
  screens_ = std::make_unique<ScreenSwitch>(*this);
  lists_ = std::make_unique<Lists>(*this);
  form_ = std::make_unique<Tfrm_Main>(os_, controls_.ForForm(*screens_, boxes_, *lists_));
  controls_.ApplyFont(dpi_);
  boxes_.SetMainWindow(
      hwnd_,
      [this] {
        controls_.FlushBoxes();
        ++busy_;
      },
      [this] {
        --busy_;
        CarryOutHeldClose();
      });
  application_.SetMainWindow(hwnd_);
  savedFocus_ = Control(Id::pg_1);
  // A failure of start-up is shown, and the window is created all the same.
  // Start-up answers no key of the user's: nothing typed meanwhile was
  // meant for a screen before it.
  RunHandler([this] { FormCreate(); }, false);
}

void MainWindow::FormCreate() {
  const Proposals proposals = ProposeInstallations(registry_, year_);
  SetFieldText(Id::edt_ZETKA_source, proposals.source);
  SetFieldText(Id::edt_ZETKA_dest, proposals.dest);
  // The screens have no tabs to hide: the paths screen comes up.
  ShowScreen(Screen::kPaths);
  for (const std::u16string& failure : proposals.failures) ShowFailure(failure);
}

void MainWindow::SetFieldText(Id field, std::u16string_view text) {
  win32::SetFieldText(Control(field), text);
}

void MainWindow::OpenFolderDialog(Id field) {
  RunHandler([&] {
    const auto isFolder = [this](std::u16string_view path) {
      return WhatIsNamed(os_, path) == Named::kFolder;
    };
    DirectoryField& directory = controls_.Field(field);
    const std::u16string start =
        StartingFolder(WindowText(Control(field)), directory.LastChosen(), isFolder);
    const auto chosen = folders_.Choose(start);
    if (chosen) {
      SetFieldText(field, *chosen);
      if (isFolder(*chosen)) directory.SetLastChosen(*chosen);
    }
    SetFocus(Control(field));
  });
}

void MainWindow::LayOut() {
  if (Control(Id::pg_1) == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const Placement placement = Layout(client.right, client.bottom, static_cast<int>(dpi_), widths_,
                                     controls_.MeasuredTexts());
  for (const ControlSpec& spec : Controls()) {
    const Rect& r = placement[static_cast<std::size_t>(spec.id)];
    SetWindowPos(Control(spec.id), nullptr, r.left, r.top, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

Screen MainWindow::ShownScreen() const {
  return IsWindowVisible(Control(Id::page_2)) ? Screen::kRun : Screen::kPaths;
}

bool MainWindow::ListsVisible() const {
  return (GetWindowLongPtrW(Control(Id::mmo_1), GWL_STYLE) & WS_VISIBLE) != 0;
}

void MainWindow::ShowScreen(Screen screen) {
  const Id focus = FocusedId();
  const Id next = FocusAfterScreenChange(focus, screen);
  const HWND shown = Control(screen == Screen::kPaths ? Id::page_1 : Id::page_2);
  const HWND hidden = Control(screen == Screen::kPaths ? Id::page_2 : Id::page_1);
  ShowWindow(shown, SW_SHOW);
  // The focus moves before its screen goes: it never rests on a hidden control.
  if (next != focus) {
    if (GetActiveWindow() == hwnd_) {
      SetFocus(Control(next));
    } else {
      savedFocus_ = Control(next);
    }
  }
  ShowWindow(hidden, SW_HIDE);
  InvalidateButtons();
}

Id MainWindow::FocusedId() const {
  const HWND focus = GetFocus();
  if (const auto id = controls_.IdOf(focus); id && focus != nullptr) return *id;
  if (const auto id = controls_.IdOf(savedFocus_); id && savedFocus_ != nullptr) return *id;
  return Id::pg_1;
}

Id MainWindow::EnterTarget() const {
  const Id focus = FocusedId();
  return IsButton(Spec(focus).kind) ? focus : DefaultButton(ShownScreen());
}

void MainWindow::InvalidateButtons() {
  for (const auto& spec : Controls()) {
    if (IsButton(spec.kind)) InvalidateRect(Control(spec.id), nullptr, FALSE);
  }
}

template <typename Handler>
void MainWindow::RunHandler(Handler handler, bool startedByInput) {
  ++busy_;
  ShownOnFailure(handler);
  controls_.FlushBoxes();
  --busy_;
  // What was typed while the handler ran was typed at what the screen showed
  // before it: it acts on nothing now.
  if (startedByInput) DropQueuedInput();
  CarryOutHeldClose();
}

void MainWindow::CarryOutHeldClose() {
  if (busy_ > 0 || !closeHeld_) return;
  closeHeld_ = false;
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainWindow::Press(Id button) {
  RunHandler([&] {
    switch (button) {
      case Id::btn_1:
        form_->btn_1Click();
        break;
      case Id::btn_2:
        form_->btn_2Click();
        break;
      case Id::btn_3:
        ShowScreen(Screen::kPaths);
        break;
      case Id::btn_4:
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        break;
      case Id::btn_Podglad:
        form_->btn_PodgladClick();
        break;
      case Id::btn_Cofnij:
        form_->btn_CofnijClick();
        break;
      default:
        break;
    }
  });
}

bool MainWindow::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  Key key = Key::kOther;
  switch (message.wParam) {
    case VK_RETURN:
      key = Key::kEnter;
      break;
    case VK_ESCAPE:
      key = Key::kEscape;
      break;
    case VK_TAB:
      key = Key::kTab;
      break;
    case VK_SPACE:
      key = Key::kSpace;
      break;
    case VK_DOWN:
      key = Key::kDown;
      break;
    default:
      return false;
  }
  const Modifiers modifiers{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                            GetKeyState(VK_MENU) < 0};
  // Bit 30: the key was down before this message, an auto-repeat.
  const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
  const Id focus = FocusedId();
  const bool suggestions =
      Spec(focus).kind == Kind::kDirectoryField && controls_.Field(focus).SuggestionsShown();
  const KeyResult result =
      OnKey(key, modifiers, focus, ShownScreen(), {ListsVisible(), suggestions}, repeated);
  switch (result.action) {
    case Action::kPass:
      return false;
    case Action::kSwallow:
      return true;
    case Action::kPress:
      Press(result.target);
      return true;
    case Action::kFocus:
      SetFocus(Control(result.target));
      return true;
    case Action::kOpenFolderDialog:
      OpenFolderDialog(result.target);
      return true;
  }
  return false;
}

void MainWindow::KeepToOneLine(HWND field) {
  if (keepingToOneLine_) return;
  const std::u16string text = WindowText(field);
  const std::u16string_view kept = DirectoryFieldText(text);
  if (kept.size() == text.size()) return;
  keepingToOneLine_ = true;
  SetWindowText(field, kept);
  const auto end = static_cast<WPARAM>(kept.size());
  SendMessageW(field, EM_SETSEL, end, static_cast<LPARAM>(end));
  keepingToOneLine_ = false;
}

void MainWindow::OnCommand(WORD code, HWND control) {
  const auto id = controls_.IdOf(control);
  if (!id) return;
  const Kind kind = Spec(*id).kind;
  switch (code) {
    case BN_CLICKED:
      if (IsButton(kind)) Press(*id);
      break;
    case EN_CHANGE:
      if (kind == Kind::kDirectoryField) KeepToOneLine(control);
      break;
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
    case BN_SETFOCUS:
    case BN_KILLFOCUS:
      InvalidateButtons();
      break;
    default:
      break;
  }
}

LRESULT MainWindow::PaintButton(const DRAWITEMSTRUCT& item) {
  const auto id = controls_.IdOf(item.hwndItem);
  if (!id) return FALSE;
  win32::PaintButton(item, Spec(*id).kind, EnterTarget() == *id, dpi_, controls_.Font(),
                     HighContrastOn());
  return TRUE;
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  widths_ = RescaledWidths(widths_, static_cast<int>(dpi_), static_cast<int>(dpi));
  dpi_ = dpi;
  controls_.ApplyFont(dpi_);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
}

void MainWindow::OnSplitterDragged(Id splitter, int moved) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const Id panel = splitter == Id::spl1 ? Id::pnl_1 : Id::pnl_5;
  const int width = DraggedWidth(panel, grabbedWidth_, moved, client.right, static_cast<int>(dpi_));
  (panel == Id::pnl_1 ? widths_.pnl_1 : widths_.pnl_5) = width;
  LayOut();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // A window without its controls is no window to use: its creation
      // fails, and Create raises why.
      return Guarded(
          [this] {
            OnCreate();
            return LRESULT{0};
          },
          [this]() noexcept {
            creationFailure_ = std::current_exception();
            return LRESULT{-1};
          });
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (const HWND focus = GetFocus(); IsChild(hwnd_, focus)) savedFocus_ = focus;
      } else if (HIWORD(wParam) == 0) {
        const bool usable =
            savedFocus_ != nullptr && IsWindow(savedFocus_) && IsWindowVisible(savedFocus_);
        SetFocus(usable ? savedFocus_ : Control(Id::pg_1));
        InvalidateButtons();
      }
      return 0;
    case WM_COMMAND:
      OnCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DRAWITEM:
      return PaintButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case kSplitterGrabbed:
      grabbedWidth_ = static_cast<Id>(wParam) == Id::spl1 ? widths_.pnl_1 : widths_.pnl_5;
      return 0;
    case kSplitterDragged:
      OnSplitterDragged(static_cast<Id>(wParam), static_cast<int>(lParam));
      return 0;
    case kFolderButtonClicked:
      OpenFolderDialog(static_cast<Id>(wParam));
      return 0;
    case kFocusMoved:
      InvalidateButtons();
      return 0;
    case WM_SYSCOMMAND:
      // Minimised with the application window, which carries the taskbar entry.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        application_.Minimize();
        return 0;
      }
      break;
    case WM_SETTINGCHANGE:
      RunHandler([this] { form_->RefreshDecimalSeparator(); }, false);
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      // Windows' task list and the taskbar send a close while a box is up,
      // and the box's loop brings it here: destroying the window then would
      // take the log box from under the run, which still has to save it.
      // The close waits until the handler has ended.
      if (busy_ > 0) {
        closeHeld_ = true;
        return 0;
      }
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      boxes_.SetMainWindow(nullptr, {}, {});
      application_.SetMainWindow(nullptr);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace shell::win32
