#pragma once
#include <windows.h>

#include <string>

namespace LumoUtility {

class FontSpec;
class GUIElement;

// Alignment of a text (DrawTextIn, grid columns) or of a cell's picture.
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
constexpr int kAlignCentre = 2;

// A small painting object over one device context: either a paint cycle of an element's
// window (BeginPaint ... EndPaint) or a context the caller owns (an owner-draw context,
// a memory context). Every operation does nothing without a context.
class Drawing {
 public:
  Drawing() = default;
  explicit Drawing(GUIElement& element);  // starts a paint cycle on the element
  ~Drawing();
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  // Uses a context the caller owns; Finish then only forgets it.
  void Attach(HDC dc);
  HDC Context() const { return dc_; }
  const PAINTSTRUCT& PaintRecord() const { return paint_; }

  void FillRectangle(int x, int y, int width, int height, int colour);
  void FrameRectangle(int x, int y, int width, int height, int colour);
  // alignment: kAlignRight, kAlignCentre, anything else left. At most kMaxTextLength
  // characters are drawn. A zero width or height writes the text at (x, y) unclipped.
  void DrawTextIn(int x, int y, int width, int height, const std::wstring& text, int colour,
                  FontSpec* font, int alignment);
  void DrawTextIn(int x, int y, int width, int height, const std::string& text, int colour,
                  FontSpec* font, int alignment);
  // The font's tmHeight; -1 without a context or font, or when the call fails.
  int GetTextHeight(FontSpec* font);
  void DrawBitmap(HBITMAP bitmap, int y);
  // Pure black (0x000000) pixels of the bitmap are transparent. Width and height 0 draw
  // the bitmap at its own size.
  void DrawTransparentBitmap(int x, int y, int width, int height, HBITMAP bitmap);

  // Called after a failed GDI call; keeps the thread's last error code as text.
  virtual void ReportError();
  const std::string& LastErrorText() const { return lastErrorText_; }

  // Ends the paint cycle (or forgets a borrowed context); harmless when repeated.
  void Finish();

  static constexpr size_t kMaxTextLength = 1023;

 private:
  GUIElement* element_ = nullptr;
  HDC dc_ = nullptr;
  bool borrowed_ = false;
  PAINTSTRUCT paint_{};
  std::string lastErrorText_;
};

}  // namespace LumoUtility
