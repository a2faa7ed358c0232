// The least a Win32 program does to put a window on screen: register one class, create
// and show one window, run the message loop until it is closed. The start-up benchmark
// times it beside the real program, built with the same compiler, flags and static
// linking, so that what Wine itself costs is measured once and can be told apart.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"MinimalWindow";
constexpr wchar_t kTitle[] = L"Finestra minima";

LRESULT CALLBACK MinimalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = MinimalProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassW(&windowClass)) return 1;

  // The size of the terms window the program opens first.
  HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 250, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
