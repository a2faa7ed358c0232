#include "toolkit/SortArrows.h"

#include "toolkit/GdiObjects.h"

namespace LumoUtility {
namespace {

constexpr int kSide = 12;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// A filled triangle 9 pixels wide and 5 high, centred, pointing up or down.
void DrawArrow(HDC dc, int left, bool down) {
  RECT all{left, 0, left + kSide, kSide};
  OwnedBrush ground(CreateSolidBrush(kTransparent));
  FillRect(dc, &all, ground.Get());
  const COLORREF ink = GetSysColor(COLOR_BTNSHADOW);
  for (int step = 0; step < 5; ++step) {
    const int y = down ? 4 + step : 8 - step;
    for (int x = left + 2 + step; x <= left + 10 - step; ++x) SetPixel(dc, x, y, ink);
  }
}

}  // namespace

OwnedImageList MakeSortArrows() {
  OwnedImageList arrows(ImageList_Create(kSide, kSide, ILC_COLOR24 | ILC_MASK, 2, 0));
  if (!arrows.Get()) return arrows;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  OwnedBitmap strip(CreateCompatibleBitmap(screen, 2 * kSide, kSide));
  ReleaseDC(nullptr, screen);
  if (dc && strip) {
    {
      ObjectSelection selected(dc, strip.Get());
      DrawArrow(dc, kSortUpImage * kSide, false);
      DrawArrow(dc, kSortDownImage * kSide, true);
    }
    // The image list keeps copies: the strip is ours to delete.
    ImageList_AddMasked(arrows.Get(), strip.Get(), kTransparent);
  }
  if (dc) DeleteDC(dc);
  return arrows;
}

}  // namespace LumoUtility
