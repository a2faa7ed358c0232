#include "toolkit/CurrencyBox.h"

#include "toolkit/CurrencyText.h"
#include "toolkit/UserLocale.h"

namespace LumoUtility {
namespace {

constexpr int kTab = 9;
constexpr int kBackspace = 8;
constexpr int kCurrencyMaxLength = 9;

}  // namespace

CurrencyBox::CurrencyBox(GUIElement* parentElement, double amount)
    : TextBox(parentElement), locale_(UserDefaultLocale()) {
  decimalSeparator = CurrencyDecimalSeparator(locale_);
  thousandsSeparator = CurrencyThousandsSeparator(locale_);
  maxLength = kCurrencyMaxLength;
  GUIElement::SetText(Format(amount));
}

std::string CurrencyBox::Format(double amount) const { return FormatCurrency(amount, locale_); }

double CurrencyBox::Value() { return ParseCurrency(GetTextAnsi(), thousandsSeparator, locale_); }

bool CurrencyBox::HoldsAmount() {
  return IsCurrencyText(GetTextAnsi(), decimalSeparator, thousandsSeparator);
}

bool CurrencyBox::OnKeyPress(int character) {
  if (character == kTab) return false;
  if (character == kBackspace) return true;
  const std::string current = GetTextAnsi();
  const bool hasDecimal = current.find(decimalSeparator) != std::string::npos;
  const bool hasThousands = current.find(thousandsSeparator) != std::string::npos;
  if (character == static_cast<unsigned char>(decimalSeparator) && !hasDecimal) return true;
  if (character == static_cast<unsigned char>(thousandsSeparator) && !hasThousands) return true;
  if (character >= '0' && character <= '9') {
    return onKeyPress ? onKeyPress(this, character) : true;
  }
  return false;
}

void CurrencyBox::OnGotFocus() {
  if (created && window) SendMessageW(window, EM_SETSEL, 0, -1);
  GUIElement::OnGotFocus();
}

void CurrencyBox::OnLostFocus() {
  // Text that is no amount (pasted words, a sign, an exponent) stays as it is, for the form
  // to refuse and the user to correct: rewritten, it would become some other amount
  // unnoticed, since a click on "OK" takes the focus and confirms in one go.
  if (HoldsAmount()) SetText(Format(Value()));
}

}  // namespace LumoUtility
