#include "toolkit/OwnerDrawnButton.h"

#include "toolkit/Button.h"
#include "toolkit/Drawing.h"

namespace LumoUtility {
namespace {

constexpr int kDisabledTextColour = 0x969696;
constexpr int kDisabledOutlineColour = 0x696969;
constexpr int kWhite = 0xFFFFFF;
constexpr int kFocusInset = 3;

int SelectedFontHeight(HDC dc) {
  LOGFONTW logFont{};
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  if (!font || !GetObjectW(font, sizeof logFont, &logFont)) return 0;
  return logFont.lfHeight;
}

}  // namespace

void PaintOwnerDrawnButton(Button& button, HDC dc, const RECT& item, UINT itemState) {
  Drawing drawing;
  drawing.Attach(dc);
  const int left = item.left;
  const int top = item.top;
  const int width = item.right - item.left;
  const int height = item.bottom - item.top;

  int textColour = static_cast<int>(GetTextColor(dc));
  int textTop = (height - SelectedFontHeight(dc)) / 2;
  if (textTop < 0) textTop = 0;

  drawing.FillRectangle(left, top, width, height, static_cast<int>(GetBkColor(dc)));

  const bool pressed = (itemState & ODS_SELECTED) != 0;
  int outline = textColour;
  if (itemState & ODS_DISABLED) {
    textColour = kDisabledTextColour;
    outline = kDisabledOutlineColour;
  } else if (pressed) {
    outline = kWhite - textColour;
  }
  drawing.FrameRectangle(left, top, width, height, outline);

  int offset = button.DrawImage(drawing, item, pressed);
  drawing.DrawTextIn(left + offset, top + textTop, width - offset, height, button.GetText(),
                     textColour, nullptr, kAlignCentre);

  if (itemState & ODS_FOCUS) {
    RECT focus{item.left + kFocusInset, item.top + kFocusInset, item.right - kFocusInset,
               item.bottom - kFocusInset};
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace LumoUtility
