#include "shell/win32/folder_suggestions.h"

#include <objbase.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <atomic>
#include <new>
#include <string>
#include <vector>

#include "shell/folder_field.h"
#include "shell/win32/box_controls.h"

namespace shell::win32 {

namespace {

// A COM object is destroyed by its own Release, never through a pointer to an
// interface, which has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The subfolders of the folder the typed text is in, as full paths; the
// autocompletion keeps those that begin with the text.
class FolderSource final : public IEnumString, public IACList {
 public:
  explicit FolderSource(HWND field) : field_(field) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IEnumString)) {
      *object = static_cast<IEnumString*>(this);
    } else if (IsEqualIID(id, IID_IACList)) {
      *object = static_cast<IACList*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IACList: the shell names the folder it is about to list.
  STDMETHODIMP Expand(PCWSTR root) override {
    List(root != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(root)) : u"");
    return S_OK;
  }

  // IEnumString
  STDMETHODIMP Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override {
    if (strings == nullptr) return E_POINTER;
    ULONG given = 0;
    for (; given < count && next_ < folders_.size(); ++given, ++next_) {
      const std::u16string& folder = folders_[next_];
      const std::size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
      auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
      if (copy == nullptr) break;
      CopyMemory(copy, folder.c_str(), bytes);
      strings[given] = copy;
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ += count;
    return next_ <= folders_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    // The folder of what is typed now, whether or not the shell expanded it.
    const std::u16string typed = WindowText(field_);
    List(std::u16string(SuggestionFolder(typed)));
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumString** copy) override {
    if (copy == nullptr) return E_POINTER;
    auto* clone = new (std::nothrow) FolderSource(field_);
    if (clone == nullptr) return E_OUTOFMEMORY;
    clone->folders_ = folders_;
    clone->next_ = next_;
    *copy = clone;
    return S_OK;
  }

 private:
  ~FolderSource() = default;

  void List(const std::u16string& folder) {
    folders_.clear();
    next_ = 0;
    if (folder.empty() || folder.back() != u'\\') return;
    const std::u16string pattern = folder + u"*";
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(reinterpret_cast<const wchar_t*>(pattern.c_str()), FindExInfoBasic, &found,
                         FindExSearchLimitToDirectories, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      const std::u16string name(reinterpret_cast<const char16_t*>(found.cFileName));
      // The search may give files too: only folders are suggested.
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == u"." ||
          name == u"..") {
        continue;
      }
      folders_.push_back(folder + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }

  HWND field_;
  std::atomic<ULONG> references_{1};
  std::vector<std::u16string> folders_;
  std::size_t next_ = 0;
};

#pragma GCC diagnostic pop

}  // namespace

bool AttachFolderSuggestions(HWND field) {
  IAutoComplete2* complete = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&complete)))) {
    return false;
  }
  auto* source = new (std::nothrow) FolderSource(field);
  bool attached = false;
  if (source != nullptr) {
    attached =
        SUCCEEDED(complete->Init(field, static_cast<IEnumString*>(source), nullptr, nullptr)) &&
        SUCCEEDED(complete->SetOptions(ACO_AUTOSUGGEST));
    // The autocompletion holds its own references for the field's life.
    source->Release();
  }
  complete->Release();
  return attached;
}

}  // namespace shell::win32
