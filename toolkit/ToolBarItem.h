#pragma once
#include <windows.h>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"
#include "toolkit/KeyboardShortcut.h"

namespace LumoUtility {

class ToolBar;

// One button or separator of a toolbar. It has no window: the toolbar makes a native
// button of it at each rebuild. Its label and its tooltip are both its toolTip text; the
// tooltip also names the shortcut key, when the item has one.
class ToolBarItem : public Child, public CommandElement {
 public:
  explicit ToolBarItem(ToolBar* toolBar);
  // Leaves its toolbar's list: a later rebuild or redraw must not reach it.
  ~ToolBarItem() override;

  // Takes the element id (the button's command id) and copies the label; no window.
  void Create() override;
  // "Nuovo (Ctrl+N)" for an item with a shortcut, else the toolTip text.
  std::string ToolTipText() const;

  static constexpr int kLabelCapacity = 2024;

  wchar_t label[kLabelCapacity] = {};
  int image = 0;        // index in the toolbar's images; 0 = not resolved yet
  int bitmapId = 0;     // resource id of a strip in the program, 0 = none
  int imageCount = 0;   // images in that strip; 0 = one colour-mapped bitmap
  int imageOffset = 0;  // this item's image within the strip
  int maskColour = 0;   // strip colour shown as the button face when colour-mapped
  BYTE style = 0;       // 0 button, 1 separator (BTNS_SEP)
  KeyboardShortcut shortcut;
};

}  // namespace LumoUtility
