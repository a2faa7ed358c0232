#include "toolkit/CurrencyBox.h"

#include <algorithm>
#include <string>

#include "toolkit/KeyCodes.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/CurrencyText.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

constexpr int kCurrencyMaxLength = 9;

// The separators are bytes of the program's code page, the typed character UTF-16: a
// separator such as "’" (0x92, Swiss Italian grouping) only matches once widened.
int TypedCharacter(char separator) { return WidenText(std::string(1, separator))[0]; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The clipboard's text, or nothing when it holds none or is in use.
std::wstring ClipboardText(HWND window) {
  if (!OpenClipboard(window)) return {};
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = characters;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

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
  // Backspace and the edit commands Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z arrive as control
  // characters; what a paste brings is checked in OnPaste.
  if (character == kBackspace || character < ' ' || character == kDelete) return true;
  const std::string current = GetTextAnsi();
  const bool hasDecimal = current.find(decimalSeparator) != std::string::npos;
  const bool hasThousands = current.find(thousandsSeparator) != std::string::npos;
  if (character == TypedCharacter(decimalSeparator) && !hasDecimal) return true;
  if (character == TypedCharacter(thousandsSeparator) && !hasThousands) return true;
  if (character >= '0' && character <= '9') {
    return onKeyPress ? onKeyPress(this, character) : true;
  }
  return false;
}

bool CurrencyBox::OnPaste() {
  if (!created || !window || readOnly) return true;
  // Blanks around a copied figure are left behind; any other character that could not be
  // typed (a letter, a sign, a blank inside) refuses the whole paste, as does a result
  // longer than the box takes, which the edit control would cut to some other amount.
  // Separators are let in as they come: "OK" refuses a text that is no amount.
  std::string pasted = NarrowText(ClipboardText(window));
  while (!pasted.empty() && IsBlank(pasted.back())) pasted.pop_back();
  std::size_t first = 0;
  while (first < pasted.size() && IsBlank(pasted[first])) ++first;
  pasted.erase(0, first);
  bool typeable = !pasted.empty();
  for (char c : pasted) {
    if ((c < '0' || c > '9') && c != decimalSeparator && c != thousandsSeparator) typeable = false;
  }
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::string current = GetTextAnsi();
  start = std::min<DWORD>(start, static_cast<DWORD>(current.size()));
  end = std::max(start, std::min<DWORD>(end, static_cast<DWORD>(current.size())));
  const std::size_t length = current.size() - (end - start) + pasted.size();
  const bool fits = maxLength < 0 || length <= static_cast<std::size_t>(maxLength);
  if (typeable && fits) {
    // Replaced as a typing would be, so that Ctrl+Z takes it back.
    const std::wstring wide = WidenText(pasted);
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
  } else {
    MessageBeep(MB_OK);
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
