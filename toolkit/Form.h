#pragma once
#include <windows.h>

#include "toolkit/GUIElement.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/WindowClassRegistration.h"

namespace LumoUtility {

// A top-level window with a window class of its own ("Window" + the id counter).
//
// A form's callbacks usually reach its derived class (through the trampolines of
// FormHandlers.h). By the time ~Form runs that part is gone, so a derived form closes its
// window in its own destructor with CloseAndDestroyWindow, while its handlers still work.
class Form : public GUIElement {
 public:
  explicit Form(HINSTANCE instance, bool isToolWindow = false);
  ~Form() override;

  void Create() override;

  void SetClientSize(int clientWidth, int clientHeight);
  void CenterOnScreen();
  void SetIcon(int resourceId);
  // Asks the window to close (WM_CLOSE, so OnClosing runs) and destroys it whatever the
  // answer; nothing happens when there is no window.
  void CloseAndDestroyWindow();

  const WindowClassRegistration& ClassRegistration() const { return classRegistration_; }
  HICON IconHandle() const { return iconHandle.Get(); }

  GUIElement* companion = nullptr;
  // The control of this form that last had the keyboard focus: it gets it back when the
  // form is activated again (after a message box, another form, another program).
  HWND focusedControl = nullptr;
  bool topmost = true;
  bool minimizeBox = true;
  bool maximizeBox = true;
  bool captioned = true;
  bool toolWindow = false;
  bool extraStyleBit = false;
  OwnedIcon iconHandle;
  int iconId = 0;

 private:
  DWORD WindowStyle() const;
  DWORD ExtendedStyle() const;

  WindowClassRegistration classRegistration_;
};

}  // namespace LumoUtility
