#pragma once
#include <windows.h>

#include <string>

namespace LumoUtility {

class Form;
class GUIElement;
class PanelChildren;

// The few process-wide facts the central window procedure works with. Everything runs
// on the one GUI thread, so nothing here is locked.
struct ToolkitState {
  HWND mainWindow = nullptr;                 // first form created; its end ends the loop
  Form* lastActiveForm = nullptr;            // the form that last became foreground
  PanelChildren* lastActivePanel = nullptr;  // the panel that last became foreground
  PanelChildren* wheelTarget = nullptr;      // scrolled by the wheel over a non-panel
  bool trackingMouse = false;                // a hover/leave request is pending
  HCURSOR waitCursorHandle = nullptr;        // shared system cursors, never destroyed
  HCURSOR handCursorHandle = nullptr;
  int elementIdCounter = 0;  // last element id handed out
  std::wstring toolTipText;  // answer to the last tooltip text request
};

ToolkitState& Toolkit();

// Increments the element id counter and answers the new id.
int TakeNextElementId();

// Drops every reference the state and other forms hold to an element that goes away.
void ForgetElement(GUIElement* element);

}  // namespace LumoUtility
