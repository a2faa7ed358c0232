#pragma once
#include <windows.h>

#include <string>

#include "toolkit/GdiObjects.h"

namespace LumoUtility {

// Owns one registered window class and the background brush made for it. Unregistering
// only succeeds once no window of the class is left, so the owner destroys its window
// first; the brush is released after the class, which may still paint with it.
class WindowClassRegistration {
 public:
  WindowClassRegistration() = default;
  ~WindowClassRegistration() { Unregister(); }
  WindowClassRegistration(WindowClassRegistration&& other) noexcept;
  WindowClassRegistration& operator=(WindowClassRegistration&& other) noexcept;
  WindowClassRegistration(const WindowClassRegistration&) = delete;
  WindowClassRegistration& operator=(const WindowClassRegistration&) = delete;

  // Registers the description (its name must stay the given name); the brush, when
  // given, is the class background and is owned from now on.
  bool Register(WNDCLASSW description, const std::wstring& name, OwnedBrush background);
  void Unregister();

  bool Registered() const { return registered_; }
  const std::wstring& Name() const { return name_; }

 private:
  std::wstring name_;
  HINSTANCE instance_ = nullptr;
  OwnedBrush background_;
  bool registered_ = false;
};

// The class background brush: the system button-face brush for "no colour" (not owned),
// else a new solid brush that the caller owns.
OwnedBrush ClassBackgroundBrush(int backColour, HBRUSH* brushForClass);

}  // namespace LumoUtility
