// The program's entry. The command line is not read.
#include <windows.h>

#include "platform/system_os.h"
#include "shell/win32/program.h"
#include "shell/win32/registry_reader.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto os = platform::MakeSystemOs();
  shell::win32::RegistryReader registry;
  return shell::win32::RunProgram({*os, registry, now.wYear});
}
