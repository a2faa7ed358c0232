#pragma once
#include <windows.h>

#include <string>

#include "toolkit/Font.h"

namespace LumoUtility {

class GUIElement;

// A colour is 0x00BBGGRR; kNoColour lets the system default apply.
constexpr int kNoColour = -1;

// Tooltip texts are cut to what the tooltip buffers hold.
constexpr size_t kMaxToolTipLength = 2023;

// Event callbacks: plain function pointers that application code assigns.
using CreatedCallback = void (*)(GUIElement* element, HWND window);
using MouseButtonCallback = int (*)(GUIElement* element, HWND window, int x, int y);
using KeyCallback = int (*)(GUIElement* element, int key);
using KeyPressCallback = bool (*)(GUIElement* element, int character);
using ElementCallback = int (*)(GUIElement* element);
using PaintCallback = void (*)(GUIElement* element);
using ClosingCallback = bool (*)(GUIElement* element);
using LostFocusCallback = void (*)(GUIElement* element);
using MouseMoveCallback = int (*)(GUIElement* element, int x, int y);

// Every visible object of the toolkit: a form or a child control. The element keeps its
// own copy of everything that describes its window, so it can be configured before the
// window exists; setters store and, once the window exists, apply at once. The central
// window procedure calls the virtual operations, which call the callbacks.
//
// The virtual operations keep a fixed order; classes that derive add theirs after them.
class GUIElement {
 public:
  explicit GUIElement(HINSTANCE instance);
  GUIElement(const GUIElement&) = delete;
  GUIElement& operator=(const GUIElement&) = delete;

  virtual void SetBackColor(int colour);
  virtual void SetEnabled(bool enable);
  virtual void SetText(const std::wstring& newText);
  virtual void SetText(const std::string& newText);
  virtual void OnLeftButtonUp(int x, int y);
  virtual void OnLeftButtonDown(int x, int y);
  virtual void OnLeftDoubleClick(int x, int y);
  virtual void OnRightButtonUp(int x, int y);
  virtual void OnRightButtonDown(int x, int y);
  virtual void OnRightDoubleClick(int x, int y);
  virtual void OnKeyUp(int key);
  virtual void OnKeyDown(int key);
  virtual bool OnKeyPress(int character);
  virtual void OnMouseMove(int x, int y);
  virtual void OnMouseHover();
  virtual void OnMouseLeave();
  virtual void Focus();
  virtual void OnMove();
  virtual void OnResize();
  virtual void OnPaint();
  virtual HBRUSH GetBackgroundBrush(HDC dc);
  virtual bool OnClosing();
  virtual void OnDestroy();
  virtual void OnGotFocus();
  virtual void OnLostFocus();
  virtual void OnActivate();
  virtual void OnDeactivate();
  virtual void OnCreated(HWND newWindow);
  virtual void Redraw();
  virtual bool GetWaitCursor();
  virtual bool GetHandCursor();
  virtual void SetWaitCursor(bool show);
  virtual void SetHandCursor(bool show);
  virtual void OnShow();
  virtual void OnItemNotify(int item, int value, int kind);
  virtual void Create() = 0;
  // Declared last so that the operations above keep their order in the table.
  virtual ~GUIElement();

  void Show();
  void Hide();
  std::wstring GetText();
  std::string GetTextAnsi();
  void SetPosition(int newX, int newY);
  void SetSize(int newWidth, int newHeight);
  POINT RefreshPosition();
  void CreateToolTip();
  void UpdateToolTip();
  // A new tooltip text; an empty one silences the tooltip, which stays (inactive) until a
  // text is given again or the element goes.
  void SetToolTip(const std::string& newText);

  bool visible = true;
  bool keyPreview = false;
  bool destroyed = false;
  bool waitCursor = false;
  bool handCursor = false;
  HWND toolTipWindow = nullptr;
  HWND window = nullptr;
  HINSTANCE instance;
  WNDCLASSW windowClass{};
  FontSpec* font = nullptr;
  int width = 100;
  int height = 50;
  int x = 100;
  int y = 100;
  bool created = false;
  int backColour = kNoColour;
  std::wstring text;
  std::wstring textAtFocus;
  bool backgroundPainted = false;
  bool enabled = true;
  int id = 0;  // 0 until the window is created; ids start at 1
  std::string typeName;
  std::string toolTip;
  GUIElement* parent = nullptr;
  WNDPROC previousWindowProc = nullptr;
  CreatedCallback onCreated = nullptr;
  bool createdFired = false;

  MouseButtonCallback onLeftButtonUp = nullptr;
  MouseButtonCallback onLeftButtonDown = nullptr;
  MouseButtonCallback onLeftDoubleClick = nullptr;
  MouseButtonCallback onRightButtonUp = nullptr;
  MouseButtonCallback onRightButtonDown = nullptr;
  MouseButtonCallback onRightDoubleClick = nullptr;
  KeyCallback onKeyUp = nullptr;
  KeyCallback onKeyDown = nullptr;
  KeyPressCallback onKeyPress = nullptr;
  ElementCallback onMove = nullptr;
  ElementCallback onResize = nullptr;
  PaintCallback onPaint = nullptr;
  ClosingCallback onClosing = nullptr;
  ElementCallback onDestroy = nullptr;
  ElementCallback onGotFocus = nullptr;
  LostFocusCallback onLostFocus = nullptr;
  ElementCallback onActivate = nullptr;
  ElementCallback onDeactivate = nullptr;
  ElementCallback onTextChanged = nullptr;
  MouseMoveCallback onMouseMove = nullptr;
  ElementCallback onMouseHover = nullptr;
  ElementCallback onMouseLeave = nullptr;

 protected:
  // Teardown for a deleted element, in this order: leave the registry (so no message
  // reaches the half-destroyed object), drop the tooltip (it removes its own subclass),
  // give a subclassed control its own procedure back, destroy the window. Classes that
  // own a window class call it in their destructor, before the class is unregistered.
  void ReleaseWindow();

  // The window's current text, read without storing it.
  std::wstring ReadWindowText() const;
};

}  // namespace LumoUtility
