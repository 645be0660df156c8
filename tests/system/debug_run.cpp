// The debugger loop behind RunUnderDebugger.
#include "debug_run.h"

#include <windows.h>

#include <cctype>
#include <cstring>

namespace {

// Windows reports a 32-bit program's own start-up breakpoint with this code to a 64-bit debugger.
constexpr DWORD kWow64Breakpoint = 0x4000001F;

std::string LowerFileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

std::string ReadRemote(HANDLE process, const void* address, size_t sizeBytes) {
  std::string bytes(sizeBytes, '\0');
  SIZE_T read = 0;
  if (address == nullptr || sizeBytes == 0 ||
      ReadProcessMemory(process, address, bytes.data(), sizeBytes, &read) == 0) {
    return "";
  }
  bytes.resize(read);
  return bytes;
}

std::string DebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  // The length counts the terminating zero, in characters.
  if (info.fUnicode == 0) {
    std::string text = ReadRemote(process, info.lpDebugStringData, info.nDebugStringLength);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
  const std::string wide =
      ReadRemote(process, info.lpDebugStringData, info.nDebugStringLength * sizeof(wchar_t));
  const auto* chars = reinterpret_cast<const wchar_t*>(wide.data());
  int length = static_cast<int>(wide.size() / sizeof(wchar_t));
  if (length > 0 && chars[length - 1] == L'\0') --length;
  std::string text(static_cast<size_t>(length) * 2, '\0');
  text.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, chars, length, text.data(),
                                                      static_cast<int>(text.size()), nullptr,
                                                      nullptr)));
  return text;
}

// From the file handle the event carries; failing that, from the name the loader left for us.
std::string DllName(HANDLE process, const LOAD_DLL_DEBUG_INFO& info) {
  char path[MAX_PATH * 2];
  const DWORD length =
      info.hFile != nullptr ? GetFinalPathNameByHandleA(info.hFile, path, sizeof path, 0) : 0;
  if (length > 0 && length < sizeof path) return LowerFileName(std::string(path, length));
  void* name = nullptr;
  const std::string pointer = ReadRemote(process, info.lpImageName, sizeof name);
  if (pointer.size() != sizeof name) return "";
  std::memcpy(&name, pointer.data(), sizeof name);
  const std::string raw = ReadRemote(process, name, MAX_PATH * sizeof(wchar_t));
  if (info.fUnicode == 0) return LowerFileName(raw.c_str());
  std::string narrow;
  for (size_t i = 0; i + 1 < raw.size() && (raw[i] != '\0' || raw[i + 1] != '\0'); i += 2) {
    narrow += raw[i];
  }
  return LowerFileName(narrow);
}

}  // namespace

DebugRun RunUnderDebugger(const std::string& application, const std::string& commandLine,
                          unsigned long limitMs) {
  DebugRun run;
  std::string line = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE,
                     DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &process) == 0) {
    run.startError = GetLastError();
    return run;
  }
  run.started = true;
  const ULONGLONG deadline = GetTickCount64() + limitMs;
  for (;;) {
    DEBUG_EVENT event = {};
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline || WaitForDebugEvent(&event, static_cast<DWORD>(deadline - now)) == 0) {
      // A hang fails its test instead of stalling the run.
      run.timedOut = true;
      TerminateProcess(process.hProcess, 99);
      DebugActiveProcessStop(process.dwProcessId);
      WaitForSingleObject(process.hProcess, 5000);
      break;
    }
    DWORD continueStatus = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile != nullptr) {
          CloseHandle(event.u.CreateProcessInfo.hFile);
        }
        break;
      case LOAD_DLL_DEBUG_EVENT:
        run.dlls.push_back(DllName(process.hProcess, event.u.LoadDll));
        if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        run.debugStrings.push_back(DebugString(process.hProcess, event.u.DebugString));
        break;
      case EXCEPTION_DEBUG_EVENT: {
        // The loader's breakpoints are the debugger's to pass over; any other exception is the
        // program's own, to take its course.
        const DWORD code = event.u.Exception.ExceptionRecord.ExceptionCode;
        if (code != EXCEPTION_BREAKPOINT && code != kWow64Breakpoint) {
          continueStatus = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      }
      case EXIT_PROCESS_DEBUG_EVENT:
        run.exitCode = event.u.ExitProcess.dwExitCode;
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) break;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}
