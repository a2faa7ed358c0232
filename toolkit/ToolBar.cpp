#include "toolkit/ToolBar.h"

#include <commctrl.h>

#include "toolkit/ChildControl.h"
#include "toolkit/ToolBarItem.h"

namespace LumoUtility {
namespace {

// The size of one button description as TB_BUTTONSTRUCTSIZE expects it (32-bit TBBUTTON).
constexpr WPARAM kButtonDescriptionSize = 20;
constexpr DWORD kAlignBottomBits = 3;
constexpr DWORD kAlignTopBits = 1;
constexpr DWORD kAlignLeftBits = 0x81;
constexpr DWORD kAlignRightBits = 0x83;

}  // namespace

ToolBar::ToolBar(GUIElement* parentForm) {
  parent = parentForm;
  typeName = "toolbar";
  width = 190;
  height = 25;
}

// The window goes first: its image list holds copies of the mapped bitmaps, which are
// released after it (a member, destroyed after this body).
ToolBar::~ToolBar() {
  // Items may outlive their toolbar: they must not reach back into it.
  for (ToolBarItem* item : items) {
    if (item->parent == this) item->parent = nullptr;
  }
  ReleaseWindow();
}

DWORD ToolBar::ToolBarStyle() const {
  DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER;
  if (!autoSize) style |= CCS_NORESIZE;
  if (border) style |= WS_BORDER;
  if (flat) style |= TBSTYLE_FLAT;
  if (alignBottom) style |= kAlignBottomBits;
  if (alignTop) style |= kAlignTopBits;
  if (alignLeft) style |= kAlignLeftBits;
  if (alignRight) {
    style |= kAlignRightBits;
  } else if (!alignTop && !alignBottom && !alignLeft) {
    style |= CCS_NOPARENTALIGN;
  }
  if (!enabled) style |= WS_DISABLED;
  return style;
}

HINSTANCE ToolBar::ProgramModule() const {
  if (parent && parent->instance) return parent->instance;
  return GetModuleHandleW(nullptr);
}

void ToolBar::AddItem(ToolBarItem* item) {
  if (item) items.push_back(item);
}

void ToolBar::Create() {
  if (created) return;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  text.clear();
  CreateChildControl(*this, TOOLBARCLASSNAMEW, ToolBarStyle(), 0);
  if (!window) return;
  SendMessageW(window, TB_BUTTONSTRUCTSIZE, kButtonDescriptionSize, 0);
  AddStrip(0, standardImages.first, standardImages.second);
  RebuildButtons();
}

int ToolBar::AddStrip(int count, HINSTANCE module, UINT_PTR bitmap) {
  if (!window) return -1;
  TBADDBITMAP strip{module, bitmap};
  return static_cast<int>(SendMessageW(window, TB_ADDBITMAP, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(&strip)));
}

int ToolBar::AddMappedBitmap(const ToolBarItem& item) {
  COLORMAP mapping{static_cast<COLORREF>(item.maskColour), GetSysColor(COLOR_BTNFACE)};
  HBITMAP bitmap = CreateMappedBitmap(ProgramModule(), item.bitmapId, 0, &mapping, 1);
  if (!bitmap) return -1;
  mappedBitmaps.emplace_back(bitmap);
  return AddStrip(0, nullptr, reinterpret_cast<UINT_PTR>(bitmap));
}

void ToolBar::RebuildButtons() {
  // Without a window there is nothing to rebuild, and an image resolved now would be
  // stored as the failed answer (-1) and kept.
  if (items.empty() || !window) return;
  std::vector<TBBUTTON> buttons(kMaxButtons, TBBUTTON{});
  const int count = std::min(static_cast<int>(items.size()), kMaxButtons);
  int base = 0;
  for (int i = 0; i < count; ++i) {
    ToolBarItem& item = *items[i];
    item.Create();
    TBBUTTON& button = buttons[i];
    button.idCommand = item.id;
    button.fsState = item.enabled ? TBSTATE_ENABLED : 0;
    button.fsStyle = item.style;
    if (item.image == 0) {
      if (item.bitmapId != 0 && item.imageCount != 0) {
        base = AddStrip(item.imageCount, ProgramModule(), static_cast<UINT_PTR>(item.bitmapId));
        item.image = base + item.imageOffset;
      } else if (item.bitmapId != 0) {
        item.image = AddMappedBitmap(item);
      } else if (item.imageOffset > 0) {
        item.image = base + item.imageOffset;
      }
    }
    // For a separator iBitmap is its width; 0 gives the standard one.
    button.iBitmap = item.style == BTNS_SEP ? 0 : item.image;
    if (showText) button.iString = reinterpret_cast<INT_PTR>(item.label);
  }
  while (SendMessageW(window, TB_DELETEBUTTON, 0, 0)) {
  }
  SendMessageW(window, TB_ADDBUTTONSW, static_cast<WPARAM>(count),
               reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageW(window, TB_AUTOSIZE, 0, 0);
}

}  // namespace LumoUtility
