#include "toolkit/Drawing.h"

#include <algorithm>

#include "toolkit/Font.h"
#include "toolkit/GUIElement.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

Drawing::Drawing(GUIElement& element) : element_(&element) {
  dc_ = BeginPaint(element.window, &paint_);
}

Drawing::~Drawing() { Finish(); }

void Drawing::Attach(HDC dc) {
  Finish();
  dc_ = dc;
  borrowed_ = true;
}

void Drawing::Finish() {
  if (!dc_) return;
  if (!borrowed_ && element_) EndPaint(element_->window, &paint_);
  dc_ = nullptr;
  borrowed_ = false;
}

void Drawing::ReportError() { lastErrorText_ = std::to_string(GetLastError()); }

void Drawing::FillRectangle(int x, int y, int width, int height, int colour) {
  if (!dc_) return;
  OwnedBrush brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
  // Rectangle with no pen would leave the last column and row unfilled; FillRect
  // covers exactly width x height.
  RECT area{x, y, x + width, y + height};
  FillRect(dc_, &area, brush.Get());
}

void Drawing::FrameRectangle(int x, int y, int width, int height, int colour) {
  if (!dc_) return;
  OwnedPen outline(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour)));
  ObjectSelection pen(dc_, outline.Get());
  ObjectSelection fill(dc_, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc_, x, y, x + width, y + height);
}

void Drawing::DrawTextIn(int x, int y, int width, int height, const std::wstring& text, int colour,
                         FontSpec* font, int alignment) {
  if (!dc_) return;
  SetBkMode(dc_, TRANSPARENT);
  std::wstring shown = text.substr(0, std::min(text.size(), kMaxTextLength));
  // The text is data ("Olio & filtro"), never a caption with an access key: an ampersand
  // is drawn as itself, not as an underline under the next letter.
  UINT format = DT_NOPREFIX | (alignment == kAlignRight    ? DT_RIGHT
                               : alignment == kAlignCentre ? DT_CENTER
                                                           : DT_LEFT);
  RECT area{x, y, x + width, y + height};
  ObjectSelection fontSelection(dc_, font ? CreateFont(*font) : nullptr);
  COLORREF previousColour = SetTextColor(dc_, static_cast<COLORREF>(colour));
  if (width == 0 || height == 0) {
    TextOutW(dc_, x, y, shown.c_str(), static_cast<int>(shown.size()));
  } else {
    DrawTextW(dc_, shown.c_str(), static_cast<int>(shown.size()), &area, format);
  }
  SetTextColor(dc_, previousColour);
}

void Drawing::DrawTextIn(int x, int y, int width, int height, const std::string& text, int colour,
                         FontSpec* font, int alignment) {
  DrawTextIn(x, y, width, height, WidenText(text), colour, font, alignment);
}

int Drawing::GetTextHeight(FontSpec* font) {
  if (!dc_ || !font) return -1;
  ObjectSelection selection(dc_, CreateFont(*font));
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc_, &metrics)) return -1;
  return metrics.tmHeight;
}

void Drawing::DrawBitmap(HBITMAP bitmap, int y) {
  if (!dc_ || !bitmap) return;
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  MemoryDC source(dc_);
  if (!source.Get()) {
    ReportError();
    return;
  }
  ObjectSelection selection(source.Get(), bitmap);
  if (!BitBlt(dc_, 0, y, size.bmWidth, size.bmHeight, source.Get(), 0, 0, SRCCOPY)) ReportError();
}

void Drawing::DrawTransparentBitmap(int x, int y, int width, int height, HBITMAP bitmap) {
  if (!dc_ || !bitmap) return;
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  const int naturalWidth = size.bmWidth;
  const int naturalHeight = size.bmHeight;

  MemoryDC image(dc_);
  MemoryDC maskContext(dc_);
  if (!image.Get() || !maskContext.Get()) ReportError();
  OwnedBitmap mask(CreateBitmap(naturalWidth, naturalHeight, 1, 1, nullptr));
  if (!mask) ReportError();
  ObjectSelection imageSelection(image.Get(), bitmap);
  ObjectSelection maskSelection(maskContext.Get(), mask.Get());

  // Colour to monochrome: pixels of the background colour become white, all others
  // black, so the mask is white exactly where the bitmap is pure black.
  COLORREF previousBackground = SetBkColor(image.Get(), RGB(0, 0, 0));
  if (!BitBlt(maskContext.Get(), 0, 0, naturalWidth, naturalHeight, image.Get(), 0, 0, SRCCOPY)) {
    ReportError();
  }
  SetBkColor(image.Get(), previousBackground);

  // Monochrome to colour takes the target's text colour for 0 and background colour for
  // 1: they must be black and white for SRCAND to keep the background under the mask,
  // whatever colours the caller left in the context.
  ColourScope maskColours(dc_, RGB(0, 0, 0), RGB(255, 255, 255));
  if (width != 0 && height != 0) {
    if (!StretchBlt(dc_, x, y, width, height, maskContext.Get(), 0, 0, naturalWidth, naturalHeight,
                    SRCAND)) {
      ReportError();
    }
    if (!StretchBlt(dc_, x, y, width, height, image.Get(), 0, 0, naturalWidth, naturalHeight,
                    SRCPAINT)) {
      ReportError();
    }
  } else {
    if (!BitBlt(dc_, x, y, naturalWidth, naturalHeight, maskContext.Get(), 0, 0, SRCAND)) {
      ReportError();
    }
    if (!BitBlt(dc_, x, y, naturalWidth, naturalHeight, image.Get(), 0, 0, SRCPAINT)) {
      ReportError();
    }
  }
}

}  // namespace LumoUtility
