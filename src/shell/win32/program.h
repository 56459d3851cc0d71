// The program from its first instruction to its end: the application window,
// frm_Main and the message loop until frm_Main closes. The entry gives it
// what comes from outside (the OS layer, the registry, the year, how a box
// is shown), so the window tests run it as the entry does.
#pragma once

#include "platform/os.h"
#include "shell/startup.h"
#include "shell/win32/message_boxes.h"

namespace shell::win32 {

struct ProgramParts {
  platform::Os& os;
  shell::RegistryReader& registry;
  int year = 0;
  MessageBoxes::BoxFunction showBox = &MessageBoxW;
};

// The exit code: 0 once frm_Main has closed, 1 when the program could not
// make its windows (the failure display has shown why).
int RunProgram(const ProgramParts& parts);

}  // namespace shell::win32
