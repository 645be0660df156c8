// The registry and files as the tests see them, through the Win32 API, and the scratch places a
// test run may touch: one key below HKEY_CURRENT_USER\Software (and, for the tests that need
// administrator rights, the same below HKEY_LOCAL_MACHINE\Software) and one temporary folder.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

struct RegistryValue {
  DWORD type = 0;
  std::string bytes;
  bool operator==(const RegistryValue& other) const {
    return type == other.type && bytes == other.bytes;
  }
};

// view: 0 for this program's own registry view, or KEY_WOW64_32KEY / KEY_WOW64_64KEY.
LONG CreateKey(HKEY root, const std::string& path, REGSAM view = 0);
LONG PutValue(HKEY root, const std::string& path, const char* name, DWORD type,
              const std::string& bytes, REGSAM view = 0);
std::optional<RegistryValue> GetValue(HKEY root, const std::string& path, const char* name,
                                      REGSAM view = 0);
// Removes the key with all below it; nothing when it does not exist.
void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = 0);

std::optional<std::string> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Removes the folder with all in it.
void RemoveFolder(const std::string& path);

// This run's scratch key path (below Software, the same for both roots) and its folder (ends in
// a backslash). CreateScratch makes them; RemoveScratch removes them with all in them, in both
// registry views.
const std::string& ScratchKey();
const std::string& ScratchFolder();
void CreateScratch();
void RemoveScratch();
