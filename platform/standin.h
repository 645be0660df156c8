// Linux builds: our own declarations of the Windows types, constants and calls that regval uses.
// Values are the documented ones. Definitions live with the tests and fuzzers, so a call that
// nobody fakes fails to link.
#pragma once
#include <cstdint>

#define WINAPI
#define CALLBACK

using BYTE = unsigned char;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPSTR = char*;
using LPCSTR = const char*;
using REGSAM = DWORD;
using ATOM = WORD;
using UINT_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using INT_PTR = std::intptr_t;

// Handles are pointers to opaque structs, as in the real headers, so they do not mix.
struct HKEYHandle;
using HKEY = HKEYHandle*;
using PHKEY = HKEY*;

// Predefined roots are sign-extended 32-bit values, as on 64-bit Windows.
#define REGVAL_PREDEFINED_KEY(value) \
  (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(value)))))
#define HKEY_CLASSES_ROOT REGVAL_PREDEFINED_KEY(0x80000000u)
#define HKEY_CURRENT_USER REGVAL_PREDEFINED_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE REGVAL_PREDEFINED_KEY(0x80000002u)
#define HKEY_USERS REGVAL_PREDEFINED_KEY(0x80000003u)
#define HKEY_PERFORMANCE_DATA REGVAL_PREDEFINED_KEY(0x80000004u)
#define HKEY_CURRENT_CONFIG REGVAL_PREDEFINED_KEY(0x80000005u)
#define HKEY_DYN_DATA REGVAL_PREDEFINED_KEY(0x80000006u)

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_MORE_DATA = 234;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

struct HINSTANCEHandle;
using HINSTANCE = HINSTANCEHandle*;
using HMODULE = HINSTANCE;
struct HWNDHandle;
using HWND = HWNDHandle*;
struct HICONHandle;
using HICON = HICONHandle*;
using HCURSOR = HICON;
struct HBRUSHHandle;
using HBRUSH = HBRUSHHandle*;
using HGDIOBJ = void*;
using FARPROC = INT_PTR(WINAPI*)();
using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

#define MAKEINTRESOURCEA(id) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id))))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
constexpr int WHITE_BRUSH = 0;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_QUIT = 0x0012;

extern "C" {
LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type,
                           const BYTE* data, DWORD sizeBytes);
LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD sizeBytes);
LONG WINAPI RegCloseKey(HKEY key);
void WINAPI OutputDebugStringA(LPCSTR text);
int WINAPI lstrlenA(LPCSTR text);
BOOL WINAPI IsDBCSLeadByte(BYTE value);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
}
