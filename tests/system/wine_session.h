// Runs the Windows helper under Wine in the test prefix and collects what it reports.
#pragma once
#include <string>
#include <vector>

namespace wine {

struct Report {
  std::vector<std::string> lines;         // the helper's stdout, a verb a line
  std::vector<std::string> debugStrings;  // OutputDebugStringA texts, unescaped
  std::vector<std::string> regvalDlls;    // DLLs that the started program's thread loaded
  int status = -1;                        // the helper's own exit status
};

// Runs regtool.exe of arch (i686, x86_64) with these arguments, WINEDEBUG=+debugstr, bounded in
// time. It sees the registry view of its own architecture and starts programs of either.
Report Regtool(const std::vector<std::string>& arguments, const std::string& arch = "x86_64");

// The reason this machine's Wine cannot run programs of arch (i686, x86_64); empty when it can.
// Any other trouble with Wine fails the calling test.
std::string CannotRun(const std::string& arch);

// Arguments for regtool's "run": start application with exactly this command line.
// regvalDlls of the returned report then lists what that program loaded.
std::vector<std::string> RunVerb(const std::string& windowsApplication,
                                 const std::string& commandLine);

std::string Hex(const std::string& bytes);
std::string WindowsPath(const std::string& linuxPath);  // Z:\...

}  // namespace wine
