#include "shell/win32/named_accessible.h"

#include <new>

namespace shell::win32 {

namespace {

// A COM object is destroyed by its own Release, never through a pointer to an
// interface, which has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Everything but the control's own name goes to the system's object. The
// interfaces besides IAccessible that a client may ask for (the children's
// enumeration, the window) are answered only where the system's object has
// them, and through this object, so that every one of them leads back to it.
// Nothing here raises a C++ exception: the object is made without throwing
// and the name is a BSTR.
class NamedAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
 public:
  NamedAccessible(IAccessible* system, BSTR name) : system_(system), name_(name) {
    system_->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&children_));
    system_->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window_));
  }
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IAccessible)) {
      *object = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(iid, IID_IEnumVARIANT) && children_ != nullptr) {
      *object = static_cast<IEnumVARIANT*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) && window_ != nullptr) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: a call by name runs the system's type information on this
  // object, so that it reaches this object's name.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return system_->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return system_->GetTypeInfo(index, locale, info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override {
    return system_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    ITypeInfo* info = nullptr;
    const HRESULT got = system_->GetTypeInfo(0, locale, &info);
    if (FAILED(got)) return got;
    const HRESULT done = info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result,
                                      exception, argument);
    info->Release();
    return done;
  }

  // IAccessible
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return system_->get_accName(child, name);
    if (name == nullptr) return E_POINTER;
    *name = SysAllocStringLen(name_, SysStringLen(name_));
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP get_accParent(IDispatch** parent) override { return system_->get_accParent(parent); }
  STDMETHODIMP get_accChildCount(LONG* count) override { return system_->get_accChildCount(count); }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override {
    return system_->get_accChild(child, object);
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
    return system_->get_accValue(child, value);
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
    return system_->get_accDescription(child, description);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    return system_->get_accRole(child, role);
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
    return system_->get_accState(child, state);
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
    return system_->get_accHelp(child, help);
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return system_->get_accHelpTopic(file, child, topic);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return system_->get_accKeyboardShortcut(child, shortcut);
  }
  STDMETHODIMP get_accFocus(VARIANT* child) override { return system_->get_accFocus(child); }
  STDMETHODIMP get_accSelection(VARIANT* children) override {
    return system_->get_accSelection(children);
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    return system_->get_accDefaultAction(child, action);
  }
  STDMETHODIMP accSelect(LONG how, VARIANT child) override {
    return system_->accSelect(how, child);
  }
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) override {
    return system_->accLocation(left, top, width, height, child);
  }
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return system_->accNavigate(direction, start, end);
  }
  STDMETHODIMP accHitTest(LONG left, LONG top, VARIANT* child) override {
    return system_->accHitTest(left, top, child);
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    return system_->accDoDefaultAction(child);
  }
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override {
    return system_->put_accName(child, name);
  }
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
    return system_->put_accValue(child, value);
  }

  // IEnumVARIANT
  STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override {
    return children_->Next(count, items, fetched);
  }
  STDMETHODIMP Skip(ULONG count) override { return children_->Skip(count); }
  STDMETHODIMP Reset() override { return children_->Reset(); }
  STDMETHODIMP Clone(IEnumVARIANT** copy) override { return children_->Clone(copy); }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override { return window_->GetWindow(window); }
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override {
    return window_->ContextSensitiveHelp(enter);
  }

 private:
  ~NamedAccessible() {
    if (window_ != nullptr) window_->Release();
    if (children_ != nullptr) children_->Release();
    system_->Release();
    SysFreeString(name_);
  }

  LONG references_ = 1;
  IAccessible* system_;
  IEnumVARIANT* children_ = nullptr;
  IOleWindow* window_ = nullptr;
  BSTR name_;
};

#pragma GCC diagnostic pop

}  // namespace

IAccessible* WithName(IAccessible* system, const wchar_t* name, UINT length) {
  const BSTR copy = SysAllocStringLen(name, length);
  NamedAccessible* named =
      copy != nullptr ? new (std::nothrow) NamedAccessible(system, copy) : nullptr;
  if (named == nullptr) {
    SysFreeString(copy);
    system->Release();
  }
  return named;
}

}  // namespace shell::win32
