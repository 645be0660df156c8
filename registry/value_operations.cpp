// Registry value operations: one open, one call and one close each; failures go to the debugger.
#include "registry/value_operations.h"

#include <cstdio>

namespace {

// Bytes up to the first zero, or all returned bytes when none is zero: the buffer is defined
// only up to what the query returned.
DWORD StringLength(const BYTE* data, DWORD sizeBytes) {
  DWORD length = 0;
  while (length < sizeBytes && data[length] != 0) ++length;
  return length;
}

// Binary mode with our own LF -> CR LF: text mode translates only on Windows, and every build
// must write the same bytes.
int WriteTextFile(const char* fileName, const BYTE* data, DWORD lengthBytes) {
  char text[2 * ValueBufferBytes];
  size_t textBytes = 0;
  for (DWORD i = 0; i < lengthBytes; ++i) {
    if (data[i] == '\n') text[textBytes++] = '\r';
    text[textBytes++] = static_cast<char>(data[i]);
  }
  FILE* file = std::fopen(fileName, "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(text, 1, textBytes, file) == textBytes;
  const bool closed = std::fclose(file) == 0;
  return written && closed ? 1 : 0;
}

}  // namespace

int SetStringValue(RootKey root, const char* subkey, const char* valueName, const char* text) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey, 0, KeyAccess, &key) != ERROR_SUCCESS) {
    OutputDebugStringA("Failed to open key\n");
    return 0;
  }
  // A write with no data token is the only way to store an empty string.
  const char* data = text != nullptr ? text : "";
  // The size counts the terminating zero: readers of REG_SZ data expect it to be stored.
  const DWORD sizeBytes = static_cast<DWORD>(lstrlenA(data)) + 1;
  int result = 0;
  if (RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeBytes) ==
      ERROR_SUCCESS) {
    result = 1;
  } else {
    OutputDebugStringA("Could not set new value\n");
  }
  RegCloseKey(key);
  return result;
}

int QueryValueToFile(RootKey root, const char* subkey, const char* valueName,
                     const char* fileName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey, 0, KeyAccess, &key) != ERROR_SUCCESS) {
    OutputDebugStringA("Failed to open key\n");
    return 0;
  }
  BYTE buffer[ValueBufferBytes];
  DWORD type = REG_NONE;
  DWORD sizeBytes = ValueBufferBytes;
  const bool found =
      RegQueryValueExA(key, valueName, nullptr, &type, buffer, &sizeBytes) == ERROR_SUCCESS;
  if (!found) OutputDebugStringA("Could not query value\n");
  // Closed before the file is touched: the key is not held while we wait on the file system.
  RegCloseKey(key);
  if (!found || fileName == nullptr) return 0;
  if (sizeBytes > ValueBufferBytes) sizeBytes = ValueBufferBytes;
  return WriteTextFile(fileName, buffer, StringLength(buffer, sizeBytes));
}
