// The entry point: run the command, and only when it fails fall back to the window shell.
#include "shell/shell.h"

#include "command/dispatch.h"

namespace {

// Global because the window procedure, called by the window system, needs it too.
WindowApi g_windowApi;

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function* function) {
  const FARPROC address = module != nullptr ? GetProcAddress(module, name) : nullptr;
  // Through a generic function type, which the compiler accepts as a cast between any two.
  *function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
  return address != nullptr;
}

}  // namespace

int LoadWindowApi() {
  const HMODULE user32 = LoadLibraryA("user32.dll");
  const HMODULE gdi32 = LoadLibraryA("gdi32.dll");
  WindowApi& api = g_windowApi;
  const bool loaded = Resolve(user32, "RegisterClassA", &api.registerClassA) &&
                      Resolve(user32, "LoadIconA", &api.loadIconA) &&
                      Resolve(user32, "LoadCursorA", &api.loadCursorA) &&
                      Resolve(gdi32, "GetStockObject", &api.getStockObject) &&
                      Resolve(user32, "GetMessageA", &api.getMessageA) &&
                      Resolve(user32, "TranslateMessage", &api.translateMessage) &&
                      Resolve(user32, "DispatchMessageA", &api.dispatchMessageA) &&
                      Resolve(user32, "DefWindowProcA", &api.defWindowProcA) &&
                      Resolve(user32, "PostQuitMessage", &api.postQuitMessage);
  return loaded ? 1 : 0;
}

int RegisterMainClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.style = 0;
  windowClass.lpfnWndProc = ShellWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = g_windowApi.loadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = g_windowApi.loadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(g_windowApi.getStockObject(WHITE_BRUSH));
  // The program carries no menu resource; the class only names one.
  windowClass.lpszMenuName = "GenericMenu";
  windowClass.lpszClassName = "GenericWClass";
  return g_windowApi.registerClassA(&windowClass);
}

LRESULT CALLBACK ShellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    g_windowApi.postQuitMessage(0);
    return 0;
  }
  return g_windowApi.defWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int) {
  if (RunCommand(commandTail) != 0) return 0;
  if (LoadWindowApi() == 0 || RegisterMainClass(instance) == 0) return 1;
  // No window exists to end the loop, so a caller waiting on us would wait forever: end it at
  // once, with the failure code.
  g_windowApi.postQuitMessage(1);
  MSG message = {};
  BOOL status = 0;
  while ((status = g_windowApi.getMessageA(&message, nullptr, 0, 0)) > 0) {
    g_windowApi.translateMessage(&message);
    g_windowApi.dispatchMessageA(&message);
  }
  return status == 0 ? static_cast<int>(message.wParam) : 1;
}
