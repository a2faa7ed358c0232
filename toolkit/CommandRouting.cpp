#include "toolkit/CommandRouting.h"

#include <commctrl.h>

#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"
#include "toolkit/ElementRegistry.h"
#include "toolkit/GUIElement.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

constexpr int kMenuCommand = 0;

void CallHandler(GUIElement* element, CommandElement* command) {
  if (command && command->commandHandler) command->commandHandler(element);
}

void RouteMenuCommand(int itemId) {
  GUIElement* item = FindSubMenuById(itemId);
  if (!item) return;
  // The item flips its own check mark when it is checkable (it knows its menu).
  if (auto* notifications = dynamic_cast<ControlNotifications*>(item)) {
    notifications->ToggleChecked();
  }
  CallHandler(item, dynamic_cast<CommandElement*>(item));
}

bool RouteControlCommand(GUIElement* element, int code, LRESULT* result) {
  auto* command = dynamic_cast<CommandElement*>(element);
  auto* notifications = dynamic_cast<ControlNotifications*>(element);
  if (command) {
    const std::string& type = element->typeName;
    if (type == "checkbox") {
      if (notifications) notifications->ToggleChecked();
      CallHandler(element, command);
    } else if (type == "combobox") {
      if (code == CBN_SELCHANGE) {
        CallHandler(element, command);
      } else if (code == 0) {
        if (element->window) SendMessageW(element->window, CB_SHOWDROPDOWN, TRUE, 0);
      } else if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
        bool carryOn = !notifications || (code == CBN_DROPDOWN ? notifications->OnDropDown()
                                                               : notifications->OnCloseUp());
        if (!carryOn) {
          *result = 1;
          return true;
        }
      }
    } else if (type == "listbox") {
      if (code == LBN_SELCHANGE && (!notifications || notifications->OnSelectionChange())) {
        CallHandler(element, command);
      }
    } else {
      CallHandler(element, command);
    }
    return false;
  }
  return false;
}

}  // namespace

bool RouteCommand(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const int code = HIWORD(wParam);
  const int id = LOWORD(wParam);
  if (lParam == 0) {
    // Accelerators (code 1) get the default processing only.
    if (code == kMenuCommand) RouteMenuCommand(id);
    return false;
  }
  GUIElement* element = FindElementByWindow(reinterpret_cast<HWND>(lParam));
  if (!element) return false;
  if (dynamic_cast<CommandElement*>(element)) return RouteControlCommand(element, code, result);
  if (element->typeName == "toolbar") {
    GUIElement* item = FindElementById(id);
    if (item) CallHandler(item, dynamic_cast<CommandElement*>(item));
  }
  return false;
}

bool RouteNotification(const NMHDR& header, LPARAM lParam, LRESULT* result) {
  if (header.code == TTN_GETDISPINFOW) {
    // Tooltips of toolbar buttons ask by the button's command id, which is the item's
    // element id; the answer must outlive this call, so the state keeps it.
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    GUIElement* item = FindElementById(static_cast<int>(header.idFrom));
    if (item && item->typeName == "toolbaritem" && !item->toolTip.empty()) {
      const auto* toolBarItem = dynamic_cast<const ToolBarItem*>(item);
      std::wstring& answer = Toolkit().toolTipText;
      answer = WidenText(toolBarItem ? toolBarItem->ToolTipText() : item->toolTip);
      if (answer.size() > kMaxToolTipLength) answer.resize(kMaxToolTipLength);
      info->lpszText = answer.data();
    }
    return false;
  }
  GUIElement* source = FindElementByWindow(header.hwndFrom);
  if (!source) return false;
  auto* notifications = dynamic_cast<ControlNotifications*>(source);
  if (notifications && source->typeName == "listview") {
    return notifications->OnListNotify(header, lParam, *result);
  }
  switch (header.code) {
    case UDN_DELTAPOS:
      if (notifications && source->typeName == "numericbox") {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        notifications->OnSpin(change->iPos, change->iDelta);
      }
      break;
    case DTN_DATETIMECHANGE:
      if (notifications && source->typeName == "datepicker") notifications->OnDateTimeChange();
      break;
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGEDA: {
      const auto* change = reinterpret_cast<const NMHEADERW*>(lParam);
      int newWidth = change->pitem && (change->pitem->mask & HDI_WIDTH) ? change->pitem->cxy : 0;
      source->OnItemNotify(change->iItem, newWidth, 1);
      break;
    }
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA:
      source->OnItemNotify(reinterpret_cast<const NMHEADERW*>(lParam)->iItem, 0, 2);
      break;
    case NM_RCLICK: source->OnItemNotify(0, 0, 3); break;
    default: break;
  }
  return false;
}

}  // namespace LumoUtility
