#pragma once
#include "toolkit/Child.h"
#include "toolkit/ControlNotifications.h"

namespace LumoUtility {

class TextBox;

using ValueChangedCallback = void (*)(GUIElement* element, int value);

// An up-down spinner bound to a buddy text box, which shows the number.
class NumericBox : public Child, public ControlNotifications {
 public:
  NumericBox(GUIElement* parentElement, TextBox* buddyBox);

  void Create() override;
  // Stores the value; with a window, moves the spinner and reports the value clamped
  // to the range.
  void SetValue(int newValue);
  // The spinner's position; a buddy whose text is not a number in range reads as minimum.
  int GetValue();
  // The buddy's text read the way the control reads it on Windows (ParseSpinnerText with
  // the user's separator; Wine's control reads "1,5" as 15 under Italian settings); without
  // a buddy, the control's own position. False, result untouched, when that is no number
  // within the range. Without a window, the stored value.
  bool TryGetValue(int& result) const;
  void OnSpin(int position, int delta) override;

  TextBox* buddy;  // not owned: it belongs to the form
  int minimum = 0;
  int maximum = 1000000;
  int value = 0;
  ValueChangedCallback onValueChanged = nullptr;

 private:
  int Clamped(int proposed) const;
};

}  // namespace LumoUtility
