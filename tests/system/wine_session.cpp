// Starting Wine from the Linux test driver.
#include "tests/system/wine_session.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace wine {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Wine prints: 0024:warn:debugstr:OutputDebugStringA "Failed to open key\n"
std::vector<std::string> DebugStrings(const std::string& log) {
  std::vector<std::string> result;
  std::istringstream lines(log);
  const std::string marker = ":debugstr:OutputDebugStringA \"";
  for (std::string line; std::getline(lines, line);) {
    const size_t start = line.find(marker);
    const size_t end = line.rfind('"');
    if (start == std::string::npos || end == std::string::npos) continue;
    std::string text;
    for (size_t i = start + marker.size(); i < end; ++i) {
      if (line[i] == '\\' && i + 1 < end) {
        const char escaped = line[++i];
        text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
      } else {
        text += line[i];
      }
    }
    result.push_back(text);
  }
  return result;
}

// Wine prints: 0024:trace:loaddll:build_module Loaded L"C:\\windows\\system32\\user32.dll" at ...
// The thread that loads an .exe other than the helper is the started program's; the helper's own
// loads carry another id.
std::vector<std::string> RegvalDlls(const std::string& log) {
  std::vector<std::string> result;
  std::istringstream lines(log);
  const std::string marker = ":trace:loaddll:build_module Loaded L\"";
  std::string thread;
  for (std::string line; std::getline(lines, line);) {
    const size_t start = line.find(marker);
    if (start == std::string::npos) continue;
    const size_t end = line.find('"', start + marker.size());
    std::string path = line.substr(start + marker.size(), end - start - marker.size());
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string name = path.substr(path.rfind('\\') + 1);
    const bool program = name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0;
    if (program && name != "regtool.exe") thread = line.substr(0, line.find(':'));
    if (!thread.empty() && line.compare(0, thread.size() + 1, thread + ":") == 0) {
      result.push_back(name);
    }
  }
  return result;
}

}  // namespace

std::string Hex(const std::string& bytes) {
  if (bytes.empty()) return "-";
  std::string hex;
  char pair[3];
  for (char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(byte));
    hex += pair;
  }
  return hex;
}

std::string WindowsPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::vector<std::string> RunVerb(const std::string& windowsApplication,
                                 const std::string& commandLine) {
  std::string line = Hex(commandLine);
  // Wine limits our own command line too: a long one travels in a file.
  if (line.size() > 8192) {
    const std::string path = std::string(REGVAL_SCRATCH_DIR) + "/command-line";
    std::ofstream(path, std::ios::binary) << commandLine;
    line = "@" + WindowsPath(path);
  }
  // Every run is bounded, so a program that hangs fails its test instead of stalling CI.
  return {"run", "5000", Hex(windowsApplication), line};
}

Report Regtool(const std::vector<std::string>& arguments, const std::string& arch) {
  const std::string scratch = std::string(REGVAL_SCRATCH_DIR) + "/regtool";
  const std::string outPath = scratch + ".out";
  const std::string errPath = scratch + ".err";
  const std::string build = arch == "i686" ? REGVAL_WINDOWS_BUILD_DIR : REGVAL_WINDOWS64_BUILD_DIR;
  std::vector<std::string> command = {"timeout", "-k", "5", "60", REGVAL_WINE_SH, arch,
                                      build + "/tests/system/regtool.exe"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (std::string& part : command) argv.push_back(part.data());
  argv.push_back(nullptr);

  Report report;
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    setenv("WINEDEBUG", "-all,+debugstr,+loaddll", 1);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return report;
  report.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream out(ReadAll(outPath));
  for (std::string line; std::getline(out, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    report.lines.push_back(line);
  }
  const std::string log = ReadAll(errPath);
  report.debugStrings = DebugStrings(log);
  report.regvalDlls = RegvalDlls(log);
  return report;
}

std::string CannotRun(const std::string& arch) {
  const std::string errPath = std::string(REGVAL_SCRATCH_DIR) + "/can-run-" + arch;
  const std::string command = std::string("'") + REGVAL_WINE_SH + "' " + arch + " 2>" + errPath;
  const int status = std::system(command.c_str());
  std::string reason = ReadAll(errPath);
  while (!reason.empty() && reason.back() == '\n') reason.pop_back();
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code != 0 && code != 77) {
    ADD_FAILURE() << "Wine is broken for " << arch << " (status " << code << "): " << reason;
  }
  if (code == 0) return "";
  return reason.empty() ? "cannot run " + arch : reason;
}

}  // namespace wine
