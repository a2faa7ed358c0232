#pragma once
#include <windows.h>

#include <string>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"

namespace LumoUtility {

// A push button, optionally owner-drawn with a picture; its command reaches
// commandHandler on every notification.
class Button : public Child, public CommandElement, public ControlNotifications {
 public:
  Button(GUIElement* parentElement, const std::string& caption);

  void Create() override;
  // Does what a click does: the button's command reaches its parent as a click
  // notification. Nothing happens to a disabled button or one without a window.
  void Press();
  // The picture for the current state (image enabled, disabledImage disabled) at
  // (left + 5, vertically centred), answering where the caption starts; 0 without one.
  int DrawImage(Drawing& drawing, const RECT& item, bool pressed) override;

  bool ownerDraw = false;
  HBITMAP image = nullptr;          // not owned
  HBITMAP disabledImage = nullptr;  // not owned
};

}  // namespace LumoUtility
