#pragma once
#include <windows.h>

#include <utility>

namespace LumoUtility {

// Owns one GDI object (brush, pen, font, bitmap) and deletes it; move-only. The plain
// handle type stays the non-owning view.
template <class Handle>
class OwnedGdiObject {
 public:
  OwnedGdiObject() = default;
  explicit OwnedGdiObject(Handle handle) : handle_(handle) {}
  ~OwnedGdiObject() { Reset(); }
  OwnedGdiObject(OwnedGdiObject&& other) noexcept : handle_(other.Release()) {}
  OwnedGdiObject& operator=(OwnedGdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  OwnedGdiObject(const OwnedGdiObject&) = delete;
  OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    Handle old = std::exchange(handle_, handle);
    if (old) DeleteObject(old);
  }

 private:
  Handle handle_ = nullptr;
};

using OwnedBrush = OwnedGdiObject<HBRUSH>;
using OwnedPen = OwnedGdiObject<HPEN>;
using OwnedFont = OwnedGdiObject<HFONT>;
using OwnedBitmap = OwnedGdiObject<HBITMAP>;

// Owns an icon made for one window (not a shared one from LoadIcon).
class OwnedIcon {
 public:
  OwnedIcon() = default;
  explicit OwnedIcon(HICON icon) : icon_(icon) {}
  ~OwnedIcon() { Reset(); }
  OwnedIcon(OwnedIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
  OwnedIcon& operator=(OwnedIcon&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.icon_, nullptr));
    return *this;
  }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;

  HICON Get() const { return icon_; }
  void Reset(HICON icon = nullptr) {
    HICON old = std::exchange(icon_, icon);
    if (old) DestroyIcon(old);
  }

 private:
  HICON icon_ = nullptr;
};

// Selects an object into a device context and puts the previous one back on exit.
class ObjectSelection {
 public:
  ObjectSelection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~ObjectSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ObjectSelection(const ObjectSelection&) = delete;
  ObjectSelection& operator=(const ObjectSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory device context compatible with another one, deleted on exit.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC / ReleaseDC for a window.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint for one paint cycle.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() {
    if (dc_) EndPaint(window_, &paint_);
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Sets a device context's text and background colours and restores them on exit.
class ColourScope {
 public:
  ColourScope(HDC dc, COLORREF text, COLORREF background)
      : dc_(dc), text_(SetTextColor(dc, text)), background_(SetBkColor(dc, background)) {}
  ~ColourScope() {
    SetTextColor(dc_, text_);
    SetBkColor(dc_, background_);
  }
  ColourScope(const ColourScope&) = delete;
  ColourScope& operator=(const ColourScope&) = delete;

 private:
  HDC dc_;
  COLORREF text_;
  COLORREF background_;
};

}  // namespace LumoUtility
