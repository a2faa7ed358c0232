#include "toolkit/ToolBarItem.h"

#include <algorithm>
#include <string>

#include "toolkit/ToolBar.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

ToolBarItem::ToolBarItem(ToolBar* toolBar) {
  parent = toolBar;
  typeName = "toolbaritem";
}

ToolBarItem::~ToolBarItem() {
  if (auto* toolBar = dynamic_cast<ToolBar*>(parent)) {
    auto& items = toolBar->items;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
  }
}

void ToolBarItem::Create() {
  if (created) return;
  id = TakeNextElementId();
  std::wstring wide = WidenText(toolTip);
  size_t length = std::min(wide.size(), static_cast<size_t>(kLabelCapacity - 1));
  std::copy_n(wide.begin(), length, label);
  label[length] = L'\0';
  created = true;
}

std::string ToolBarItem::ToolTipText() const {
  if (!shortcut.IsSet() || toolTip.empty()) return toolTip;
  return toolTip + " (" + shortcut.Text() + ")";
}

}  // namespace LumoUtility
