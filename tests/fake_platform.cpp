// The recording fake behind the Linux stand-in's declarations.
#include "tests/fake_platform.h"

#include <cstdio>
#include <cstring>

namespace fake {
namespace {

Platform* g_current = nullptr;

std::string Lower(const char* text) {
  std::string result = text != nullptr ? text : "";
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

bool IsPredefinedRoot(HKEY key) {
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                    HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
    if (key == root) return true;
  }
  return false;
}

Key* FindOpenKey(HKEY handle) {
  if (g_current == nullptr) return nullptr;
  auto open = g_current->openKeys.find(handle);
  if (open == g_current->openKeys.end()) return nullptr;
  auto key = g_current->keys.find(open->second);
  return key != g_current->keys.end() ? &key->second : nullptr;
}

LONG TakeFailure(LONG& failure) {
  const LONG status = failure;
  failure = ERROR_SUCCESS;
  return status;
}

}  // namespace

Key& Platform::AddKey(HKEY root, const std::string& path) {
  return keys[{root, Lower(path.c_str())}];
}

void Platform::PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                        std::vector<BYTE> bytes) {
  AddKey(root, path).values[Lower(name.c_str())] = Value{type, std::move(bytes)};
}

const Value* Platform::FindValue(HKEY root, const std::string& path,
                                 const std::string& name) const {
  auto key = keys.find({root, Lower(path.c_str())});
  if (key == keys.end()) return nullptr;
  auto value = key->second.values.find(Lower(name.c_str()));
  return value != key->second.values.end() ? &value->second : nullptr;
}

std::vector<std::string> Platform::DebugStrings() const {
  std::vector<std::string> result;
  for (const std::string& call : calls) {
    if (call.rfind("debug ", 0) == 0) result.push_back(call.substr(6));
  }
  return result;
}

Platform* Current() { return g_current; }

Scope::Scope() { g_current = &platform_; }
Scope::~Scope() { g_current = nullptr; }

std::vector<BYTE> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

MSG Message(UINT message, WPARAM wParam) {
  MSG result = {};
  result.message = message;
  result.wParam = wParam;
  return result;
}

namespace {

void Record(const std::string& call) {
  if (g_current != nullptr) g_current->calls.push_back(call);
}

std::string ResourceId(LPCSTR name) {
  return std::to_string(reinterpret_cast<ULONG_PTR>(name));
}

ATOM WINAPI FakeRegisterClassA(const WNDCLASSA* windowClass) {
  Record(std::string("RegisterClassA ") + windowClass->lpszClassName);
  if (g_current == nullptr || g_current->failRegisterClass) return 0;
  g_current->registeredClasses.push_back(*windowClass);
  return 0xC001;
}

HICON WINAPI FakeLoadIconA(HINSTANCE, LPCSTR name) {
  Record("LoadIconA " + ResourceId(name));
  return reinterpret_cast<HICON>(0x1C0);
}

HCURSOR WINAPI FakeLoadCursorA(HINSTANCE, LPCSTR name) {
  Record("LoadCursorA " + ResourceId(name));
  return reinterpret_cast<HCURSOR>(0xC00);
}

HGDIOBJ WINAPI FakeGetStockObject(int object) {
  Record("GetStockObject " + std::to_string(object));
  return reinterpret_cast<HGDIOBJ>(0xB0);
}

BOOL WINAPI FakeGetMessageA(LPMSG message, HWND, UINT, UINT) {
  // A real queue would block; an empty fake one fails instead of hanging the test.
  if (g_current == nullptr || g_current->messages.empty()) return -1;
  if (g_current->failNextGetMessage) {
    g_current->failNextGetMessage = false;
    return -1;
  }
  *message = g_current->messages.front();
  g_current->messages.pop_front();
  return message->message == WM_QUIT ? 0 : 1;
}

BOOL WINAPI FakeTranslateMessage(const MSG* message) {
  Record("TranslateMessage " + std::to_string(message->message));
  return 0;
}

LRESULT WINAPI FakeDispatchMessageA(const MSG* message) {
  Record("DispatchMessageA " + std::to_string(message->message));
  return 0;
}

LRESULT WINAPI FakeDefWindowProcA(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  Record("DefWindowProcA " + std::to_string(message) + " " + std::to_string(wParam) + " " +
         std::to_string(lParam));
  return g_current != nullptr ? g_current->defWindowProcResult : 0;
}

void WINAPI FakePostQuitMessage(int code) {
  Record("PostQuitMessage " + std::to_string(code));
  if (g_current != nullptr) {
    g_current->messages.push_back(Message(WM_QUIT, static_cast<WPARAM>(code)));
  }
}

template <typename Function>
FARPROC Address(Function function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

const struct {
  const char* module;
  const char* name;
  FARPROC address;
} kWindowFunctions[] = {
    {"user32.dll", "RegisterClassA", Address(FakeRegisterClassA)},
    {"user32.dll", "LoadIconA", Address(FakeLoadIconA)},
    {"user32.dll", "LoadCursorA", Address(FakeLoadCursorA)},
    {"gdi32.dll", "GetStockObject", Address(FakeGetStockObject)},
    {"user32.dll", "GetMessageA", Address(FakeGetMessageA)},
    {"user32.dll", "TranslateMessage", Address(FakeTranslateMessage)},
    {"user32.dll", "DispatchMessageA", Address(FakeDispatchMessageA)},
    {"user32.dll", "DefWindowProcA", Address(FakeDefWindowProcA)},
    {"user32.dll", "PostQuitMessage", Address(FakePostQuitMessage)},
};

// Module handles are the table's module names themselves.
const char* const kModules[] = {"user32.dll", "gdi32.dll"};

}  // namespace

}  // namespace fake

using fake::g_current;

extern "C" {

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM desired, PHKEY result) {
  if (g_current == nullptr) return ERROR_ACCESS_DENIED;
  g_current->calls.push_back("open " + std::string(subKey != nullptr ? subKey : "") + " " +
                             std::to_string(desired));
  if (const LONG status = fake::TakeFailure(g_current->failNextOpen)) return status;
  if (!fake::IsPredefinedRoot(key)) return ERROR_FILE_NOT_FOUND;
  const std::pair<HKEY, std::string> name{key, fake::Lower(subKey)};
  auto found = g_current->keys.find(name);
  if (found == g_current->keys.end() && !name.second.empty()) return ERROR_FILE_NOT_FOUND;
  if (found != g_current->keys.end() && found->second.refusesSetRight &&
      (desired & KEY_SET_VALUE) != 0) {
    return ERROR_ACCESS_DENIED;
  }
  g_current->keys[name];
  HKEY handle = reinterpret_cast<HKEY>(g_current->nextHandle++);
  g_current->openKeys[handle] = name;
  *result = handle;
  return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY handle, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                           DWORD sizeBytes) {
  if (g_current == nullptr) return ERROR_ACCESS_DENIED;
  g_current->calls.push_back("set " + std::string(valueName != nullptr ? valueName : "") + " " +
                             std::to_string(type));
  if (const LONG status = fake::TakeFailure(g_current->failNextSet)) return status;
  fake::Key* key = fake::FindOpenKey(handle);
  if (key == nullptr) return ERROR_ACCESS_DENIED;
  key->values[fake::Lower(valueName)] = fake::Value{type, {data, data + sizeBytes}};
  return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY handle, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                             LPDWORD sizeBytes) {
  if (g_current == nullptr) return ERROR_ACCESS_DENIED;
  g_current->calls.push_back("query " + std::string(valueName != nullptr ? valueName : ""));
  if (const LONG status = fake::TakeFailure(g_current->failNextQuery)) return status;
  fake::Key* key = fake::FindOpenKey(handle);
  if (key == nullptr) return ERROR_ACCESS_DENIED;
  auto found = key->values.find(fake::Lower(valueName));
  if (found == key->values.end()) return ERROR_FILE_NOT_FOUND;
  const fake::Value& value = found->second;
  const DWORD length = static_cast<DWORD>(value.bytes.size());
  if (type != nullptr) *type = value.type;
  if (data != nullptr) {
    if (*sizeBytes < length) {
      *sizeBytes = length;
      return ERROR_MORE_DATA;
    }
    if (length > 0) std::memcpy(data, value.bytes.data(), length);
    // A pattern past the returned bytes shows any read beyond them in the output.
    std::memset(data + length, 0x55, *sizeBytes - length);
  }
  *sizeBytes = length;
  return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY handle) {
  if (g_current == nullptr) return ERROR_ACCESS_DENIED;
  if (g_current->openKeys.erase(handle) == 0) {
    g_current->calls.push_back("close of a key not open");
    return ERROR_ACCESS_DENIED;
  }
  g_current->calls.push_back("close");
  return ERROR_SUCCESS;
}

void WINAPI OutputDebugStringA(LPCSTR text) {
  if (g_current != nullptr) g_current->calls.push_back("debug " + std::string(text));
}

int WINAPI lstrlenA(LPCSTR text) { return text != nullptr ? static_cast<int>(std::strlen(text)) : 0; }

BOOL WINAPI IsDBCSLeadByte(BYTE value) {
  if (g_current == nullptr) return 0;
  for (const auto& range : g_current->leadByteRanges) {
    if (value >= range.first && value <= range.second) return 1;
  }
  return 0;
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
  fake::Record(std::string("load ") + fileName);
  if (g_current == nullptr || g_current->failLoadOf == fileName) return nullptr;
  for (const char* const& module : fake::kModules) {
    if (std::strcmp(module, fileName) == 0) {
      return reinterpret_cast<HMODULE>(const_cast<char**>(&module));
    }
  }
  return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
  if (g_current == nullptr || g_current->missingFunction == name) return nullptr;
  const char* moduleName = *reinterpret_cast<const char* const*>(module);
  for (const auto& function : fake::kWindowFunctions) {
    if (std::strcmp(function.module, moduleName) == 0 && std::strcmp(function.name, name) == 0) {
      return function.address;
    }
  }
  return nullptr;
}

// The unit tests link with --wrap=fopen, so the log shows when our code opens the output file.
FILE* __real_fopen(const char* name, const char* mode);  // NOLINT(bugprone-reserved-identifier)
FILE* __wrap_fopen(const char* name, const char* mode) {  // NOLINT(bugprone-reserved-identifier)
  if (g_current == nullptr) return __real_fopen(name, mode);
  g_current->calls.push_back("fopen " + std::string(mode));
  const std::string& redirect = g_current->redirectFilesTo;
  return __real_fopen(redirect.empty() ? name : redirect.c_str(), mode);
}
}
