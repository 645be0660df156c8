// Registry and file helpers of the system tests, and the scratch places of one run.
#include "scratch.h"

#include <fstream>
#include <iterator>

namespace {

std::string g_scratchKey;
std::string g_scratchFolder;

}  // namespace

LONG CreateKey(HKEY root, const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                      nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status;
}

LONG PutValue(HKEY root, const std::string& path, const char* name, DWORD type,
              const std::string& bytes, REGSAM view) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE | view, &key);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  return status;
}

std::optional<RegistryValue> GetValue(HKEY root, const std::string& path, const char* name,
                                      REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryValue value;
  char data[4096];
  DWORD sizeBytes = sizeof data;
  const LONG status =
      RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &sizeBytes);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  value.bytes.assign(data, sizeBytes);
  return value;
}

void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  // Below an opened key the view is settled, so the tree goes from the right one.
  RegDeleteTreeA(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExA(root, path.c_str(), view, 0);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolder(const std::string& path) {
  WIN32_FIND_DATAA found = {};
  const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveFolder(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

const std::string& ScratchKey() { return g_scratchKey; }
const std::string& ScratchFolder() { return g_scratchFolder; }

void CreateScratch() {
  // The process id keeps two runs at once (the 32-bit and the 64-bit tests) apart.
  const std::string name = "regval-system-tests-" + std::to_string(GetCurrentProcessId());
  g_scratchKey = "Software\\" + name;
  char temp[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof temp, temp);
  g_scratchFolder = std::string(temp, length) + name + "\\";
  CreateDirectoryA(ScratchFolder().c_str(), nullptr);
  CreateKey(HKEY_CURRENT_USER, ScratchKey());
}

void RemoveScratch() {
  DeleteKeyTree(HKEY_CURRENT_USER, ScratchKey());
  // Tests below HKEY_LOCAL_MACHINE may have written into either view.
  DeleteKeyTree(HKEY_LOCAL_MACHINE, ScratchKey(), KEY_WOW64_32KEY);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, ScratchKey(), KEY_WOW64_64KEY);
  RemoveFolder(ScratchFolder().substr(0, ScratchFolder().size() - 1));
}
