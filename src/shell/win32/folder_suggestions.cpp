#include "shell/win32/folder_suggestions.h"

#include <objbase.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "shell/folder_field.h"
#include "shell/win32/boundary.h"

namespace shell::win32 {

namespace {

using Folders = std::vector<std::u16string>;

struct SearchCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};

// The subfolders of `folder`, which ends in a backslash, as full paths; none
// when it names no folder.
std::shared_ptr<const Folders> ListSubfolders(std::u16string_view folder) {
  auto folders = std::make_shared<Folders>();
  if (folder.empty() || folder.back() != u'\\') return folders;
  const std::u16string pattern = std::u16string(folder) + u"*";
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      FindFirstFileExW(reinterpret_cast<const wchar_t*>(pattern.c_str()), FindExInfoBasic, &found,
                       FindExSearchLimitToDirectories, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return folders;
  const std::unique_ptr<void, SearchCloser> closer(search);
  do {
    const std::u16string_view name(reinterpret_cast<const char16_t*>(found.cFileName));
    // The search may give files too: only folders are suggested.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == u"." || name == u"..") {
      continue;
    }
    folders->push_back(std::u16string(folder) + std::u16string(name));
  } while (FindNextFileW(search, &found));
  return folders;
}

// A path in memory the caller frees with CoTaskMemFree; null when none is left.
LPOLESTR TaskMemCopy(const std::u16string& path) {
  const std::size_t bytes = (path.size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
  if (copy != nullptr) CopyMemory(copy, path.c_str(), bytes);
  return copy;
}

// A COM object is destroyed by its own Release, never through a pointer to an
// interface, which has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The subfolders of the folder the typed text is in, as full paths; the
// autocompletion keeps those that begin with the text. On Windows the
// autocompletion takes them on a thread of its own while the window's thread
// names the next folder: a list is never changed once made, a new one takes
// its place under the lock, and the position moves under the same lock, so
// each string given is whole and from one list.
class FolderSource final : public IEnumString, public IACList {
 public:
  FolderSource() = default;
  FolderSource(std::shared_ptr<const Folders> folders, std::size_t next)
      : folders_(std::move(folders)), next_(next) {}

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

  // IACList: the shell names the typed text up to its last backslash as the
  // text enters another folder, and only then. The folder is listed outside
  // the lock, and the list it replaces is freed outside it too.
  STDMETHODIMP Expand(PCWSTR root) noexcept override {
    return ComResult([&] {
      const std::u16string_view named =
          root != nullptr ? std::u16string_view(reinterpret_cast<const char16_t*>(root))
                          : std::u16string_view();
      std::shared_ptr<const Folders> listed = ListSubfolders(SuggestionFolder(named));
      const std::lock_guard<std::mutex> hold(lock_);
      folders_.swap(listed);
      next_ = 0;
      return S_OK;
    });
  }

  // IEnumString
  STDMETHODIMP Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override {
    return ComResult([&]() -> HRESULT {
      if (fetched != nullptr) *fetched = 0;
      if (strings == nullptr) return E_POINTER;
      if (fetched == nullptr && count != 1) return E_INVALIDARG;
      const std::lock_guard<std::mutex> hold(lock_);
      const std::size_t given = std::min<std::size_t>(Left(), count);
      for (std::size_t i = 0; i < given; ++i) {
        strings[i] = TaskMemCopy((*folders_)[next_ + i]);
        if (strings[i] == nullptr) {
          // All or nothing: the position stays where it was.
          while (i > 0) CoTaskMemFree(strings[--i]);
          return E_OUTOFMEMORY;
        }
      }
      next_ += given;
      if (fetched != nullptr) *fetched = static_cast<ULONG>(given);
      return given == count ? S_OK : S_FALSE;
    });
  }
  STDMETHODIMP Skip(ULONG count) override {
    return ComResult([&] {
      const std::lock_guard<std::mutex> hold(lock_);
      const std::size_t skipped = std::min<std::size_t>(Left(), count);
      next_ += skipped;
      return skipped == count ? S_OK : S_FALSE;
    });
  }
  // Back to the start of the list the last Expand made. The field's text is
  // not read here: the caller may be another thread than the window's, and
  // the shell names each new folder through Expand.
  STDMETHODIMP Reset() override {
    return ComResult([&] {
      const std::lock_guard<std::mutex> hold(lock_);
      next_ = 0;
      return S_OK;
    });
  }
  STDMETHODIMP Clone(IEnumString** copy) override {
    return ComResult([&]() -> HRESULT {
      if (copy == nullptr) return E_POINTER;
      *copy = nullptr;
      std::shared_ptr<const Folders> folders;
      std::size_t next = 0;
      {
        const std::lock_guard<std::mutex> hold(lock_);
        folders = folders_;
        next = next_;
      }
      *copy = new FolderSource(std::move(folders), next);
      return S_OK;
    });
  }

 private:
  ~FolderSource() = default;

  // How many of the list are still to give; under the lock.
  std::size_t Left() const { return folders_ == nullptr ? 0 : folders_->size() - next_; }

  std::atomic<ULONG> references_{1};
  std::mutex lock_;
  std::shared_ptr<const Folders> folders_;  // none until the first Expand
  std::size_t next_ = 0;
};

#pragma GCC diagnostic pop

}  // namespace

IEnumString* MakeFolderSource() { return new (std::nothrow) FolderSource(); }

bool FolderSuggestions::Attach(HWND field) {
  IAutoComplete2* complete = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&complete)))) {
    return false;
  }
  IEnumString* source = MakeFolderSource();
  bool attached = false;
  if (source != nullptr) {
    attached = SUCCEEDED(complete->Init(field, source, nullptr, nullptr)) &&
               SUCCEEDED(complete->SetOptions(ACO_AUTOSUGGEST));
    // The autocompletion holds its own references for the field's life.
    source->Release();
  }
  IAutoCompleteDropDown* dropDown = nullptr;
  if (attached && SUCCEEDED(complete->QueryInterface(IID_PPV_ARGS(&dropDown)))) {
    dropDown_.reset(dropDown);
  }
  complete->Release();
  return attached;
}

bool FolderSuggestions::Shown() const {
  DWORD status = 0;
  return dropDown_ != nullptr && SUCCEEDED(dropDown_->GetDropDownStatus(&status, nullptr)) &&
         (status & ACDD_VISIBLE) != 0;
}

}  // namespace shell::win32
