#include "toolkit/WindowClassRegistration.h"

#include <utility>

namespace LumoUtility {

WindowClassRegistration::WindowClassRegistration(WindowClassRegistration&& other) noexcept
    : name_(std::move(other.name_)),
      instance_(other.instance_),
      background_(std::move(other.background_)),
      registered_(std::exchange(other.registered_, false)) {}

WindowClassRegistration& WindowClassRegistration::operator=(
    WindowClassRegistration&& other) noexcept {
  if (this != &other) {
    Unregister();
    name_ = std::move(other.name_);
    instance_ = other.instance_;
    background_ = std::move(other.background_);
    registered_ = std::exchange(other.registered_, false);
  }
  return *this;
}

bool WindowClassRegistration::Register(WNDCLASSW description, const std::wstring& name,
                                       OwnedBrush background) {
  Unregister();
  name_ = name;
  instance_ = description.hInstance;
  description.lpszClassName = name_.c_str();
  registered_ = RegisterClassW(&description) != 0;
  // A failed registration never took the brush; it is released right here.
  background_ = std::move(background);
  if (!registered_) background_.Reset();
  return registered_;
}

void WindowClassRegistration::Unregister() {
  if (!registered_) return;
  if (!UnregisterClassW(name_.c_str(), instance_)) {
    // A window of the class is still alive and may paint with the brush: keep both
    // rather than free a brush in use.
    background_.Release();
    registered_ = false;
    return;
  }
  registered_ = false;
  // Windows deletes a class background brush on unregistering; check before deleting
  // so that neither behaviour leaks or double-frees.
  if (background_ && GetObjectType(background_.Get()) == 0) background_.Release();
  background_.Reset();
}

OwnedBrush ClassBackgroundBrush(int backColour, HBRUSH* brushForClass) {
  if (backColour == -1) {
    *brushForClass = GetSysColorBrush(COLOR_BTNFACE);
    return OwnedBrush();
  }
  OwnedBrush brush(CreateSolidBrush(static_cast<COLORREF>(backColour)));
  *brushForClass = brush.Get();
  return brush;
}

}  // namespace LumoUtility
