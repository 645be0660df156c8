// Test helper, run under Wine: prepares and inspects the registry and starts regval.exe with an
// exact command line. Verbs run in order, one output line each:
//   key ROOT PATH                   creates the key                      -> ok | error N
//   put ROOT PATH NAME TYPE HEX     sets a value from raw bytes ("-": none) -> ok | error N
//   get ROOT PATH NAME              reads a value                        -> TYPE HEX | missing
//   run MILLISECONDS APP_HEX LINE_HEX  starts APP with command line LINE -> exit N | timeout
// ROOT is HKCU or HKLM; HEX is lower-case hex, "-" for no bytes, or @FILE for the bytes of a file
// (a command line near the 32767-character limit does not fit in ours twice over).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HKEY Root(const char* name) {
  return std::strcmp(name, "HKLM") == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::string FromHex(const char* hex) {
  std::string bytes;
  if (std::strcmp(hex, "-") == 0) return bytes;
  if (hex[0] == '@') {
    if (FILE* file = std::fopen(hex + 1, "rb")) {
      for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) bytes += static_cast<char>(c);
      std::fclose(file);
    }
    return bytes;
  }
  for (size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
    const char pair[3] = {hex[i], hex[i + 1], '\0'};
    bytes += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  return bytes;
}

std::string ToHex(const BYTE* data, DWORD size) {
  if (size == 0) return "-";
  std::string hex;
  char pair[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", data[i]);
    hex += pair;
  }
  return hex;
}

void Key(char** args) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(Root(args[0]), args[1], 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  status == ERROR_SUCCESS ? std::printf("ok\n") : std::printf("error %ld\n", status);
}

void Put(char** args) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(Root(args[0]), args[1], 0, KEY_SET_VALUE, &key);
  if (status == ERROR_SUCCESS) {
    const std::string bytes = FromHex(args[4]);
    status = RegSetValueExA(key, args[2], 0, std::strtoul(args[3], nullptr, 10),
                            reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
  status == ERROR_SUCCESS ? std::printf("ok\n") : std::printf("error %ld\n", status);
}

void Get(char** args) {
  HKEY key = nullptr;
  BYTE data[4096];
  DWORD type = 0;
  DWORD size = sizeof data;
  LONG status = RegOpenKeyExA(Root(args[0]), args[1], 0, KEY_QUERY_VALUE, &key);
  if (status == ERROR_SUCCESS) {
    status = RegQueryValueExA(key, args[2], nullptr, &type, data, &size);
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    std::printf("missing\n");
    return;
  }
  std::printf("%lu %s\n", type, ToHex(data, size).c_str());
}

void Run(char** args) {
  const DWORD limit = std::strtoul(args[0], nullptr, 10);
  const std::string application = FromHex(args[1]);
  std::string line = FromHex(args[2]);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(application.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::printf("error %lu\n", GetLastError());
    return;
  }
  if (WaitForSingleObject(process.hProcess, limit) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit %lu\n", code);
  } else {
    TerminateProcess(process.hProcess, 99);
    std::printf("timeout\n");
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv) {
  const struct {
    const char* name;
    int arguments;
    void (*verb)(char**);
  } kVerbs[] = {{"key", 2, Key}, {"put", 5, Put}, {"get", 3, Get}, {"run", 3, Run}};
  int i = 1;
  while (i < argc) {
    bool known = false;
    for (const auto& verb : kVerbs) {
      if (std::strcmp(argv[i], verb.name) == 0 && i + verb.arguments < argc) {
        verb.verb(argv + i + 1);
        std::fflush(stdout);
        i += 1 + verb.arguments;
        known = true;
        break;
      }
    }
    if (!known) {
      std::printf("usage error at %s\n", argv[i]);
      return 2;
    }
  }
  return 0;
}
