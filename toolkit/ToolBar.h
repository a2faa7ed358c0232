#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "toolkit/Child.h"
#include "toolkit/GdiObjects.h"

namespace LumoUtility {

class ToolBarItem;

// The common-controls toolbar. Its items become native buttons, all at once, at creation
// and at every RebuildButtons; an item's image, once resolved, is kept in the item so a
// later rebuild adds no bitmap again.
class ToolBar : public Child {
 public:
  explicit ToolBar(GUIElement* parentForm);
  ~ToolBar() override;

  void Create() override;
  // The item becomes a button at the next rebuild; the toolbar does not own it.
  void AddItem(ToolBarItem* item);
  // Makes the native buttons again from the items (their enabled flags, images, labels).
  void RebuildButtons();
  DWORD ToolBarStyle() const;

  static constexpr int kMaxButtons = 100;

  std::pair<HINSTANCE, UINT_PTR> standardImages{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  std::vector<ToolBarItem*> items;
  bool flat = false;
  bool autoSize = true;
  bool alignTop = true;
  bool alignBottom = false;
  bool alignLeft = false;
  bool alignRight = false;
  bool border = false;
  bool showText = false;
  std::vector<OwnedBitmap> mappedBitmaps;  // made from resources, owned

 private:
  HINSTANCE ProgramModule() const;
  int AddStrip(int count, HINSTANCE module, UINT_PTR bitmap);
  int AddMappedBitmap(const ToolBarItem& item);
};

}  // namespace LumoUtility
