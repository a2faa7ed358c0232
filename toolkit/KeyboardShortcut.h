#pragma once
#include <windows.h>

#include <string>

namespace LumoUtility {

// A command's key: a virtual key, with or without Ctrl. The text is the key as printed on
// an Italian keyboard ("Ctrl+N", "F2", "Ins", "Canc").
struct KeyboardShortcut {
  int key = 0;  // virtual-key code; 0 = none
  bool control = false;

  bool IsSet() const { return key != 0; }
  std::string Text() const;
  // The key-down message is this shortcut's first press (an auto-repeat is not: holding
  // the keys must not run the command again and again). Ctrl is read as it was when the
  // message was queued.
  bool PressedBy(const MSG& message) const;
};

// Runs the command of the enabled toolbar item whose shortcut the key-down message is,
// when that item's toolbar lies in the window the message went to; answers whether it
// did (the message is then used up). The message loop offers it every message first.
bool DispatchKeyboardShortcut(const MSG& message);

}  // namespace LumoUtility
