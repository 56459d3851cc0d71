// Start-up, timed from outside: from the creation of the process to its
// window shown and idle (WaitForInputIdle), for the program and for a minimal
// window built the same way, in turn.
//   startup_launcher PROGRAM FLOOR
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/timing.h"

namespace {

// Seconds from CreateProcess to idle; the process is ended afterwards.
double StartUntilIdle(const std::wstring& executable) {
  std::wstring commandLine = L"\"" + executable + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  bool idle = false;
  const double seconds = bench::Seconds([&] {
    idle = CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &process) != 0 &&
           WaitForInputIdle(process.hProcess, 30000) == 0;
  });
  if (process.hProcess != nullptr) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (!idle) std::fprintf(stderr, "startup: %ls did not come to idle\n", executable.c_str());
  return seconds;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: startup_launcher PROGRAM FLOOR\n");
    return 2;
  }
  const std::wstring program = argv[1], floor = argv[2];
  bench::CompareMeasured(
      "startup-wine", bench::Repetitions(11), [&] { return StartUntilIdle(program); },
      [&] { return StartUntilIdle(floor); });
  return 0;
}
