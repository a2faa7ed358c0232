#pragma once
#include <locale>

#include "toolkit/ControlNotifications.h"
#include "toolkit/TextBox.h"

namespace LumoUtility {

// A text box that holds a money amount in the user's regional punctuation: it lets
// through digits, at most one of each separator and the edit commands (Ctrl+C, Ctrl+V,
// Ctrl+X, Ctrl+Z), takes a paste only of what could be typed, and writes the
// amount back in the canonical form when it loses the focus (text that is no amount is
// left as it is).
class CurrencyBox : public TextBox, public ControlNotifications {
 public:
  CurrencyBox(GUIElement* parentElement, double amount);

  bool OnKeyPress(int character) override;
  void OnGotFocus() override;
  void OnLostFocus() override;
  bool OnPaste() override;

  // The amount in the box; an empty box or one without a number reads as 0.
  double Value();
  // Whether the text is an amount the box could have been typed with (or empty); pasted
  // text may be anything, and Value would quietly read it as something else.
  bool HoldsAmount();
  // The amount as this box writes it (for SetText).
  std::string Format(double amount) const;

  char decimalSeparator = '.';
  char thousandsSeparator = ',';

 private:
  std::locale locale_;
};

}  // namespace LumoUtility
