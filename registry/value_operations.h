// The two operations that touch the registry: store a string value, copy a value into a file.
#pragma once
#include "platform/win32.h"

// One of the predefined roots (HKEY_CLASSES_ROOT ... HKEY_DYN_DATA); null means none.
using RootKey = HKEY;

// Both operations open with both rights, so a read also needs the right to set values.
constexpr REGSAM KeyAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;
constexpr DWORD ValueBufferBytes = 80;

// Stores text as REG_SZ under valueName in an existing key; an absent text stores "".
// 1 when stored, else 0.
int SetStringValue(RootKey root, const char* subkey, const char* valueName, const char* text);

// Reads valueName (at most ValueBufferBytes bytes, any type) and writes its data up to the first
// zero byte into fileName, each LF as CR LF. 1 when the value was read and the file written;
// 0 otherwise, also when no file name is given.
int QueryValueToFile(RootKey root, const char* subkey, const char* valueName,
                     const char* fileName);
