#pragma once
#include <windows.h>

namespace LumoUtility {

class Drawing;

// What a control class does with its own notifications, for the rows of the central
// window procedure that need a control's own state: a check box or checkable menu item
// flips its mark, a combo box hears its list open and close, an up-down control, a date
// picker and a list view report their changes, an owner-drawn button draws its picture.
// A control class derives from this beside its GUIElement base and replaces what
// concerns it.
class ControlNotifications {
 public:
  // Check box clicked or checkable menu item chosen: flip the checked state.
  virtual void ToggleChecked() {}
  // Combo box list about to open / closed; false makes the procedure answer 1.
  virtual bool OnDropDown() { return true; }
  virtual bool OnCloseUp() { return true; }
  // List box LBN_SELCHANGE: the list also sends it when the user clicks the item that
  // is already selected; false means the selection did not really change.
  virtual bool OnSelectionChange() { return true; }
  // Up-down control step (UDN_DELTAPOS): the proposed position and the step.
  virtual void OnSpin(int position, int delta) { (void)position, (void)delta; }
  // Date picker changed (DTN_DATETIMECHANGE).
  virtual void OnDateTimeChange() {}
  // WM_PASTE (Ctrl+V or the edit menu): false when the control dealt with it itself, so
  // that the edit control does not paste.
  virtual bool OnPaste() { return true; }
  // List view WM_NOTIFY (texts asked for, selection, activation, header clicks): answers
  // whether it was dealt with, and then the result.
  virtual bool OnListNotify(const NMHDR& header, LPARAM lParam, LRESULT& result) {
    (void)header, (void)lParam, (void)result;
    return false;
  }
  // Owner-drawn button: draws the picture and answers the x where the caption starts,
  // 0 when there is no picture.
  virtual int DrawImage(Drawing& drawing, const RECT& item, bool pressed) {
    (void)drawing, (void)item, (void)pressed;
    return 0;
  }

 protected:
  ~ControlNotifications() = default;
};

}  // namespace LumoUtility
