#pragma once
#include <string>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"
#include "toolkit/base/ItemList.h"

namespace LumoUtility {

// A drop-down list of items, each with a display text and a hidden key. Its command is
// raised when the user changes the selection.
class ComboBox : public Child, public CommandElement, public ControlNotifications {
 public:
  explicit ComboBox(GUIElement* parentElement);

  void Create() override;

  bool OnDropDown() override;
  bool OnCloseUp() override;
  virtual void AddItem(const std::wstring& itemText, const std::wstring& key);
  virtual int ItemCount();
  virtual std::wstring ItemText(int index);
  virtual std::wstring ItemKey(int index);
  // False for -1, or when the control refuses; the lists stay untouched then.
  virtual bool RemoveItem(int index);
  // Removes from the last item to the first, stopping at the first failure; false for
  // an empty list.
  virtual bool Clear();
  virtual int SelectedIndex();
  // Clears the selection; answers false, as CB_SETCURSEL does for -1.
  virtual bool ClearSelection();
  // False before the window exists.
  virtual bool SetSelectedIndex(int index);
  virtual void SetListOnly(bool only);

  void AddItem(const std::string& itemText, const std::string& key);
  std::string ItemKeyAnsi(int index);

  bool listOnly = true;
  ItemList items;
};

}  // namespace LumoUtility
