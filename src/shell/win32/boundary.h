// Where C++ returns to Windows: window procedures, subclass procedures, hook
// and dialog callbacks, COM methods. Windows' own frames lie between such a
// function and its caller, and no C++ exception may unwind through them (the
// i686 unwinder cannot even cross them). Each such function runs its body
// through one of these guards, which decide what a failure becomes.
#pragma once

#include <windows.h>

#include <exception>
#include <new>
#include <type_traits>
#include <utility>

#include "shell/win32/failure_display.h"

namespace shell::win32 {

// Runs `body`; what escapes it is handed to `failed`, whose answer is then
// Windows' answer. `failed` runs inside the catch block, so it may look at
// std::current_exception().
template <typename Body, typename Failed>
auto Guarded(Body&& body, Failed&& failed) noexcept -> decltype(body()) {
  static_assert(noexcept(failed()), "a failure handler must not fail itself");
  static_assert(std::is_same_v<decltype(body()), decltype(failed())>);
  try {
    return body();
  } catch (...) {
    return failed();
  }
}

// For what the window's own thread calls back: a failure ends the message's
// handling, is shown by the failure display, and Windows gets `answer`.
template <typename Result, typename Body>
Result ShownOnFailure(Result answer, Body&& body) noexcept {
  return Guarded(std::forward<Body>(body), [answer]() noexcept {
    ShowEscapedFailure();
    return answer;
  });
}

// The same for a body that answers nothing.
template <typename Body>
void ShownOnFailure(Body&& body) noexcept {
  Guarded(std::forward<Body>(body), []() noexcept { ShowEscapedFailure(); });
}

// For a COM method, which any thread may call and nothing may be shown from:
// a failure becomes the method's result.
template <typename Body>
HRESULT ComResult(Body&& body) noexcept {
  return Guarded(std::forward<Body>(body), []() noexcept -> HRESULT {
    try {
      throw;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
  });
}

}  // namespace shell::win32
