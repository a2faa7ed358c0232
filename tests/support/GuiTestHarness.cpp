#include "tests/support/GuiTestHarness.h"

#include <commctrl.h>

#include <thread>

#include "toolkit/ChildControl.h"
#include "toolkit/KeyboardShortcut.h"

namespace {

bool deadlineFired = false;

void CALLBACK QuitOnDeadline(HWND, UINT, UINT_PTR, DWORD) {
  deadlineFired = true;
  PostQuitMessage(0);
}

void DispatchQueued() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    // As the program's loop does: shortcut keys first.
    if (LumoUtility::DispatchKeyboardShortcut(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

HINSTANCE TestInstance() { return GetModuleHandleW(nullptr); }

bool PumpMessagesUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    DispatchQueued();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpMessagesFor(std::chrono::milliseconds duration) {
  PumpMessagesUntil([] { return false; }, duration);
}

ToolkitStateScope::ToolkitStateScope() {
  LumoUtility::ToolkitState& state = LumoUtility::Toolkit();
  state.mainWindow = nullptr;
  state.lastActiveForm = nullptr;
  state.lastActivePanel = nullptr;
  state.wheelTarget = nullptr;
  state.trackingMouse = false;
}

ToolkitStateScope::~ToolkitStateScope() {
  DispatchQueued();
  LumoUtility::ToolkitState& state = LumoUtility::Toolkit();
  state.mainWindow = nullptr;
  state.lastActiveForm = nullptr;
  state.lastActivePanel = nullptr;
  state.wheelTarget = nullptr;
  state.trackingMouse = false;
}

LoopDeadline::LoopDeadline(std::chrono::milliseconds timeout) {
  deadlineFired = false;
  timer_ = SetTimer(nullptr, 0, static_cast<UINT>(timeout.count()), QuitOnDeadline);
}

LoopDeadline::~LoopDeadline() { KillTimer(nullptr, timer_); }

bool LoopDeadline::Fired() const { return deadlineFired; }

RecordingForm::RecordingForm(bool isToolWindow) : FormHandlers(TestInstance(), isToolWindow) {
  WireFormHandlers();
}

RecordingForm::~RecordingForm() { CloseAndDestroyWindow(); }

void RecordingForm::BuildControls() {
  ++buildCount;
  windowDuringBuild = window;
  createdDuringBuild = created;
  visibleDuringBuild = window && IsWindowVisible(window);
  if (buildControls) buildControls(*this);
}

bool RecordingForm::OnClosing() {
  ++closingCount;
  return closing ? closing() : true;
}

void RecordingForm::OnCommand(LumoUtility::GUIElement* element) { commands.push_back(element); }

TestControl::TestControl(LumoUtility::GUIElement* parentElement, std::wstring windowClassName,
                         DWORD controlStyle, const std::string& typeTag)
    : className(std::move(windowClassName)), style(controlStyle) {
  parent = parentElement;
  typeName = typeTag;
}

void TestControl::Create() {
  LumoUtility::CreateChildControl(*this, className.c_str(), style | (enabled ? 0 : WS_DISABLED), 0);
}

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  previous_ = SelectObject(dc_, bitmap_);
  HBRUSH brush = CreateSolidBrush(fill);
  RECT all{0, 0, width, height};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

PixelCanvas::~PixelCanvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF PixelCanvas::Pixel(int x, int y) const {
  GdiFlush();
  return GetPixel(dc_, x, y);
}

int PixelCanvas::CountNot(COLORREF colour, const RECT& area) const {
  GdiFlush();
  int count = 0;
  for (int y = area.top; y < area.bottom && y < height_; ++y) {
    for (int x = area.left; x < area.right && x < width_; ++x) {
      if (GetPixel(dc_, x, y) != colour) ++count;
    }
  }
  return count;
}

int PixelCanvas::CountOf(COLORREF colour, const RECT& area) const {
  int total = (area.right - area.left) * (area.bottom - area.top);
  return total - CountNot(colour, area);
}

HBITMAP MakeSolidBitmap(int width, int height, COLORREF colour, const RECT* inner,
                        COLORREF innerColour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  if (inner) {
    HBRUSH innerBrush = CreateSolidBrush(innerColour);
    FillRect(dc, inner, innerBrush);
    DeleteObject(innerBrush);
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return bitmap;
}

std::wstring ToolTipText(HWND tips, HWND window, UINT_PTR id) {
  wchar_t buffer[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = window;
  info.uId = id;
  info.lpszText = buffer;
  SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return buffer;
}
