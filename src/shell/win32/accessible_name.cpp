#include "shell/win32/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include "shell/win32/boundary.h"
#include "shell/win32/named_accessible.h"
#include "shell/win32/system_library.h"

namespace shell::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

const wchar_t* Wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

// Microsoft's way: the system's own accessible object keeps everything it
// knows of the control (for screen readers of either interface) and takes
// the name from an annotation. Wine 8 makes the service but annotates
// nothing (E_NOTIMPL).
bool Annotate(HWND control, std::u16string_view name) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return false;
  }
  const BSTR text = SysAllocStringLen(Wide(name), static_cast<UINT>(name.size()));
  const HRESULT done = text == nullptr
                           ? E_OUTOFMEMORY
                           : services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                      CHILDID_SELF, PROPID_ACC_NAME, text);
  SysFreeString(text);
  services->Release();
  return SUCCEEDED(done);
}

// oleacc.dll is none of Windows' KnownDLLs: its functions come from the
// system's folder. Where one is missing the control keeps the name the
// system finds for it, as it had before it was named.
struct Oleacc {
  static const Oleacc& Functions() {
    static const Oleacc functions;
    return functions;
  }
  bool Complete() const {
    return fromLresult != nullptr && standardObject != nullptr && toLresult != nullptr;
  }

  decltype(&ObjectFromLresult) fromLresult =
      SystemFunction<decltype(&ObjectFromLresult)>(L"oleacc.dll", "ObjectFromLresult");
  decltype(&CreateStdAccessibleObject) standardObject =
      SystemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll",
                                                           "CreateStdAccessibleObject");
  decltype(&LresultFromObject) toLresult =
      SystemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
};

// The control's client object as the system makes it (or as the control
// answers itself), wrapped under the name; 0 to leave the question to the
// control.
LRESULT NamedClientObject(HWND control, WPARAM wParam, LPARAM lParam, BSTR name) {
  const Oleacc& oleacc = Oleacc::Functions();
  if (!oleacc.Complete()) return 0;
  IAccessible* system = nullptr;
  const LRESULT own = DefSubclassProc(control, WM_GETOBJECT, wParam, lParam);
  const HRESULT got =
      own != 0 ? oleacc.fromLresult(own, IID_IAccessible, wParam, reinterpret_cast<void**>(&system))
               : oleacc.standardObject(control, OBJID_CLIENT, IID_IAccessible,
                                       reinterpret_cast<void**>(&system));
  if (FAILED(got) || system == nullptr) return 0;
  IAccessible* const named = WithName(system, name, SysStringLen(name));
  if (named == nullptr) return 0;
  const LRESULT result = oleacc.toLresult(IID_IAccessible, wParam, named);
  named->Release();
  return result;
}

// Where annotation is not there, the control answers the accessibility
// question for its client area itself; the name (a BSTR) lives as long as
// the subclass.
LRESULT CALLBACK AnswerWithName(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
  return ShownOnFailure(LRESULT{0}, [&] {
    const auto name = reinterpret_cast<BSTR>(data);
    switch (message) {
      case WM_GETOBJECT:
        // The object id travels in the low 32 bits, sign-extended or not.
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
          if (const LRESULT named = NamedClientObject(control, wParam, lParam, name); named != 0) {
            return named;
          }
        }
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(control, &AnswerWithName, kSubclassId);
        SysFreeString(name);
        break;
      default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
  });
}

}  // namespace

void GiveAccessibleName(HWND control, std::u16string_view name) {
  if (control == nullptr || name.empty() || Annotate(control, name)) return;
  const BSTR kept = SysAllocStringLen(Wide(name), static_cast<UINT>(name.size()));
  if (kept == nullptr) return;
  if (!SetWindowSubclass(control, &AnswerWithName, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(kept))) {
    SysFreeString(kept);
  }
}

}  // namespace shell::win32
