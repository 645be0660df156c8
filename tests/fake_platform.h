// A recording fake of the Windows calls regval makes: an in-memory registry, a log of every call
// in order, and failures on demand. Installed for one test (or one fuzz input) at a time.
#pragma once
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace fake {

struct Value {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

struct Key {
  bool refusesSetRight = false;
  std::map<std::string, Value> values;  // by lower-cased name
};

struct Platform {
  // The registry: keys by root and lower-cased path. Every root exists with path "".
  std::map<std::pair<HKEY, std::string>, Key> keys;

  // The log, e.g. "open Software\Example 3", "query Greeting", "set Greeting 1", "close",
  // "debug Failed to open key\n", "fopen wb", "close of a key not open".
  std::vector<std::string> calls;

  // When set, every file our code opens is this one: fuzz inputs name files at will.
  std::string redirectFilesTo;

  // A status other than ERROR_SUCCESS fails the next call of that kind, once.
  LONG failNextOpen = ERROR_SUCCESS;
  LONG failNextSet = ERROR_SUCCESS;
  LONG failNextQuery = ERROR_SUCCESS;

  // The window system: "load user32.dll", "RegisterClassA GenericWClass", "PostQuitMessage 1",
  // "TranslateMessage 15", "DispatchMessageA 15", "DefWindowProcA 15 7 9", ...
  std::string failLoadOf;                  // a module that does not load
  std::string missingFunction;             // a function that GetProcAddress does not find
  bool failRegisterClass = false;
  std::vector<WNDCLASSA> registeredClasses;
  std::deque<MSG> messages;                // the thread's queue; empty makes GetMessageA fail
  bool failNextGetMessage = false;
  LRESULT defWindowProcResult = 0;

  // Lead bytes of the ANSI code page's double-byte characters, as ranges.
  std::vector<std::pair<BYTE, BYTE>> leadByteRanges;

  std::map<HKEY, std::pair<HKEY, std::string>> openKeys;  // handle -> key
  ULONG_PTR nextHandle = 0x1000;

  Key& AddKey(HKEY root, const std::string& path);
  void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                std::vector<BYTE> bytes);
  const Value* FindValue(HKEY root, const std::string& path, const std::string& name) const;
  std::vector<std::string> DebugStrings() const;
};

MSG Message(UINT message, WPARAM wParam = 0);

// The platform that the Windows calls act on; null outside a test, where they all fail.
Platform* Current();

// Installs a fresh Platform for its lifetime.
class Scope {
 public:
  Scope();
  ~Scope();
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
  Platform& platform() { return platform_; }

 private:
  Platform platform_;
};

std::vector<BYTE> Bytes(const std::string& text);

}  // namespace fake
