// Starting a program as a debugger does: with an exact command line, seeing every debug string it
// sends, every DLL it loads and its exit code. The same calls work on Windows and under Wine.
#pragma once
#include <string>
#include <vector>

struct DebugRun {
  bool started = false;           // CreateProcessA succeeded
  unsigned long startError = 0;   // GetLastError() when it did not
  bool timedOut = false;          // it was still running at the limit, and was ended
  unsigned long exitCode = 0;
  std::vector<std::string> debugStrings;  // OutputDebugStringA texts, in order, exactly
  std::vector<std::string> dlls;          // file names of the DLLs it loaded, lower case
};

// Runs application with exactly commandLine to its end, for at most limitMs milliseconds.
DebugRun RunUnderDebugger(const std::string& application, const std::string& commandLine,
                          unsigned long limitMs = 5000);
