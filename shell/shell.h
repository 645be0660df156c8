// The entry point and its fallback: the window class and the message loop.
#pragma once
#include "platform/win32.h"

// The window-system calls of the fallback path, resolved only when it starts, so a successful
// run never loads user32 or gdi32.
struct WindowApi {
  ATOM(WINAPI* registerClassA)(const WNDCLASSA*);
  HICON(WINAPI* loadIconA)(HINSTANCE, LPCSTR);
  HCURSOR(WINAPI* loadCursorA)(HINSTANCE, LPCSTR);
  HGDIOBJ(WINAPI* getStockObject)(int);
  BOOL(WINAPI* getMessageA)(LPMSG, HWND, UINT, UINT);
  BOOL(WINAPI* translateMessage)(const MSG*);
  LRESULT(WINAPI* dispatchMessageA)(const MSG*);
  LRESULT(WINAPI* defWindowProcA)(HWND, UINT, WPARAM, LPARAM);
  void(WINAPI* postQuitMessage)(int);
};

// Loads user32 and gdi32 and fills the shell's table; 1 when every function was found.
int LoadWindowApi();

// Registers "GenericWClass"; the class atom, 0 on failure. Needs LoadWindowApi first.
int RegisterMainClass(HINSTANCE instance);

LRESULT CALLBACK ShellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 0 after a successful command; otherwise the code of the quit message that ends the loop,
// which the fallback itself posts as 1, or 1 when the window system fails.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandTail,
                   int showState);
