// Runs the Windows helper under Wine in the test prefix and collects what it reports.
#pragma once
#include <string>
#include <vector>

namespace wine {

struct Report {
  std::vector<std::string> lines;         // the helper's stdout, a verb a line
  std::vector<std::string> debugStrings;  // OutputDebugStringA texts, unescaped
  std::vector<std::string> regvalDlls;    // DLLs that regval.exe's thread loaded, lower case
  int status = -1;                        // the helper's own exit status
};

// Runs regtool.exe with these arguments, WINEDEBUG=+debugstr, bounded in time.
Report Regtool(const std::vector<std::string>& arguments);

// Arguments for regtool's "run": start application with exactly this command line.
std::vector<std::string> RunVerb(const std::string& windowsApplication,
                                 const std::string& commandLine);

std::string Hex(const std::string& bytes);
std::string WindowsPath(const std::string& linuxPath);  // Z:\...

}  // namespace wine
