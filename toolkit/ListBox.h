#pragma once
#include <string>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"
#include "toolkit/base/ItemList.h"

namespace LumoUtility {

// An always-open list of items with hidden keys. Its command is raised only when the
// selection changes.
class ListBox : public Child, public CommandElement, public ControlNotifications {
 public:
  explicit ListBox(GUIElement* parentElement);

  void Create() override;

  void AddItem(const std::string& itemText, const std::string& key);
  int ItemCount() const { return items.Count(); }
  // An index past the end gives the last item; an empty list gives an empty text.
  std::string ItemText(int index) const;
  std::string ItemKey(int index) const;
  // False for -1, or when the control refuses; the lists stay untouched then.
  bool RemoveItem(int index);
  int SelectedIndex();
  // False before the window exists.
  bool SetSelectedIndex(int index);
  // A click on the item already selected is no change: the screens copy the selected
  // item into their fields on the command, and must not overwrite what the user typed.
  bool OnSelectionChange() override;

  bool border = true;
  ItemList items;

 private:
  int lastSelection_ = -1;  // the selection last reported or set by the program
};

}  // namespace LumoUtility
