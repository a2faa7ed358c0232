#include "toolkit/CellControl.h"

#include <memory>

#include "toolkit/Drawing.h"
#include "toolkit/Font.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

constexpr int kImageMargin = 3;

}  // namespace

CellControl::CellControl(GUIElement* parentElement) : PanelChildren(parentElement) {
  typeName = "cell";
  tabStop = false;
}

void CellControl::Repaint() {
  if (created && window) InvalidateRect(window, nullptr, TRUE);
}

void CellControl::SetText(const std::wstring& newText) {
  GUIElement::SetText(newText);
  Repaint();
}

void CellControl::SetText(const std::string& newText) { SetText(WidenText(newText)); }

void CellControl::SetImage(HBITMAP picture, int alignment, int pictureWidth, int pictureHeight) {
  image = picture;
  imageAlignment = alignment;
  imageWidth = pictureWidth;
  imageHeight = pictureHeight;
  Repaint();
}

void CellControl::Paint(Drawing& drawing, int cellWidth, int cellHeight) {
  // The cell's own face is only made when there is no element font to draw with.
  std::unique_ptr<FontSpec> ownFont;
  FontSpec* textFont = font;
  if (!textFont) {
    ownFont = std::make_unique<FontSpec>(faceName, fontHeight);
    ownFont->bold = bold;
    ownFont->italic = italic;
    ownFont->underline = underline;
    textFont = ownFont.get();
  }
  if (backgroundPainted) drawing.FillRectangle(0, 0, cellWidth, cellHeight, backColour);
  const int textHeight = drawing.GetTextHeight(textFont);
  if (!text.empty()) {
    int top = (cellHeight - textHeight) / 2;
    drawing.DrawTextIn(0, top, cellWidth, cellHeight - top, text, textColour, textFont,
                       textAlignment);
  }
  if (showMarker) {
    drawing.DrawTextIn(cellWidth - textHeight, cellHeight - textHeight, textHeight, textHeight,
                       std::wstring(L"*"), textColour, textFont, kAlignCentre);
  }
  if (image) {
    int left = kImageMargin;
    if (imageAlignment == kAlignRight) {
      left = cellWidth - imageWidth - kImageMargin;
    } else if (imageAlignment == kAlignCentre) {
      left = (cellWidth - imageWidth) / 2;
    }
    int top = (cellHeight - imageHeight) / 2;
    drawing.DrawTransparentBitmap(left, top, imageWidth, imageHeight, image);
  }
}

void CellControl::OnPaint() {
  if (created && window) {
    RECT client{};
    if (GetClientRect(window, &client)) {
      Drawing drawing(*this);
      Paint(drawing, client.right - client.left, client.bottom - client.top);
      drawing.Finish();
    }
  }
  if (onPaint) onPaint(this);
}

}  // namespace LumoUtility
