// The program's start: hands WinMain the command tail, taken from the command line our own way.
#include "platform/win32.h"
#include "shell/command_tail.h"
#include "shell/shell.h"

// The C runtime's start-up calls main and ends the process through exit() with its result. Its
// own tail for WinMain compares bytes as signed and toggles quoting at any quote, so we do not
// use it.
int main() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int showState =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  return WinMain(GetModuleHandleA(nullptr), nullptr, CommandTailFrom(GetCommandLineA()),
                 showState);
}
