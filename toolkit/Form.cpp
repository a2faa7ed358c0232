#include "toolkit/Form.h"

#include <string>

#include "toolkit/ElementRegistry.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/WindowProcedure.h"

namespace LumoUtility {
namespace {

constexpr DWORD kCaptionedStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU;  // 0x10C80000
constexpr DWORD kToolWindowStyle = kCaptionedStyle | WS_MAXIMIZEBOX;     // 0x10C90000
constexpr DWORD kExtraStyleBit = 0x80;

}  // namespace

Form::Form(HINSTANCE instance, bool isToolWindow) : GUIElement(instance), toolWindow(isToolWindow) {
  typeName = "form";
}

Form::~Form() {
  CloseAndDestroyWindow();
  // A form waiting on this one would stay disabled for ever.
  for (GUIElement* element : ElementRegistry::Elements()) {
    auto* waiting = dynamic_cast<Form*>(element);
    if (waiting && waiting != this && waiting->companion == this) {
      waiting->companion = nullptr;
      waiting->SetEnabled(true);
    }
  }
  ReleaseWindow();
  // Only now that no window uses them: the icon, then the class (a member, released
  // after this body).
  iconHandle.Reset();
}

void Form::CloseAndDestroyWindow() {
  if (!created || !window || destroyed || !IsWindow(window)) return;
  HWND closing = window;
  SendMessageW(closing, WM_CLOSE, 0, 0);
  created = false;
  if (IsWindow(closing)) DestroyWindow(closing);
}

DWORD Form::WindowStyle() const {
  DWORD style = WS_POPUP;
  if (captioned) {
    style = kCaptionedStyle;
    if (minimizeBox) style |= WS_MINIMIZEBOX;
    if (maximizeBox) style |= WS_MAXIMIZEBOX | WS_THICKFRAME;
  }
  if (toolWindow) {
    // A tool window never gets a sizing border.
    style = extraStyleBit ? (kToolWindowStyle | kExtraStyleBit) : kToolWindowStyle;
    if (!maximizeBox) style &= ~static_cast<DWORD>(WS_MAXIMIZEBOX);
    if (!minimizeBox) style &= ~static_cast<DWORD>(WS_MINIMIZEBOX);
  }
  if (!enabled) style |= WS_DISABLED;
  return style;
}

DWORD Form::ExtendedStyle() const {
  if (!toolWindow) return 0;
  DWORD style = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;
  if (topmost) style |= WS_EX_TOPMOST;
  return style;
}

void Form::Create() {
  if (created) return;
  ToolkitState& state = Toolkit();
  std::wstring className = L"Window" + std::to_wstring(state.elementIdCounter);
  id = TakeNextElementId();

  windowClass = WNDCLASSW{};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = iconId != 0 ? LoadIconW(instance, MAKEINTRESOURCEW(iconId))
                                  : LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  OwnedBrush background = ClassBackgroundBrush(backColour, &windowClass.hbrBackground);
  classRegistration_.Register(windowClass, className, std::move(background));
  windowClass.lpszClassName = classRegistration_.Name().c_str();

  HWND newWindow = nullptr;
  {
    WindowCreation creation(*this, className);
    newWindow = CreateWindowExW(ExtendedStyle(), className.c_str(), text.c_str(), WindowStyle(), x,
                                y, width, height, nullptr, nullptr, instance, nullptr);
  }
  window = newWindow;
  if (!state.mainWindow) state.mainWindow = newWindow;
  OnCreated(newWindow);
  ShowWindow(newWindow, SW_SHOW);
  UpdateWindow(newWindow);
  created = true;
  CreateToolTip();
  if (font) SendMessageW(newWindow, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFont(*font)), TRUE);
}

void Form::SetClientSize(int clientWidth, int clientHeight) {
  if (!created) return;
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  int frameWidth = (outer.right - outer.left) - (client.right - client.left);
  int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
  width = clientWidth + (frameWidth > 0 ? frameWidth : 0);
  height = clientHeight + (frameHeight > 0 ? frameHeight : 0);
  RefreshPosition();
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateToolTip();
  Redraw();
}

void Form::CenterOnScreen() {
  if (created) {
    RECT outer{};
    GetWindowRect(window, &outer);
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
  }
  x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  if (!created) return;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Redraw();
}

void Form::SetIcon(int resourceId) {
  iconId = resourceId;
  if (!created) return;
  // An icon of the form's own (not the shared one LoadIcon gives), so that destroying
  // it when it is replaced or the form goes is allowed.
  HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  iconHandle.Reset(icon);
}

}  // namespace LumoUtility
