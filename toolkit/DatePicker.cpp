#include "toolkit/DatePicker.h"

#include <commctrl.h>

#include "toolkit/ChildControl.h"

namespace LumoUtility {

DatePicker::DatePicker(GUIElement* parentElement) : PanelChildren(parentElement) {
  typeName = "datepicker";
  width = 140;
  height = 25;
  GetLocalTime(&date);
}

void DatePicker::Create() {
  if (created) return;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
  InitCommonControlsEx(&classes);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | DTS_SHORTDATEFORMAT;
  if (optional) style |= DTS_SHOWNONE;
  if (!enabled) style |= WS_DISABLED;
  text.clear();
  CreateChildControl(*this, DATETIMEPICK_CLASSW, style, 0);
  if (!window) return;
  ApplyDate();
  ApplyRange();
}

void DatePicker::SetDate(const SYSTEMTIME& newDate) {
  date = newDate;
  ApplyDate();
}

void DatePicker::ApplyDate() {
  if (!created || !window) return;
  if (date.wYear != 0) {
    SendMessageW(window, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
  } else {
    // Windows ignores the date with GDT_NONE, but Wine refuses the message without one.
    SYSTEMTIME none{};
    SendMessageW(window, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&none));
  }
  if (onDateChanged) onDateChanged(this, GetDate());
  if (onTextChanged) onTextChanged(this);
}

void DatePicker::ApplyRange() {
  if (!created || !window) return;
  SYSTEMTIME range[2] = {rangeMinimum, rangeMaximum};
  WPARAM flags = (hasMinimum ? GDTR_MIN : 0) | (hasMaximum ? GDTR_MAX : 0);
  SendMessageW(window, DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
}

void DatePicker::ClearDate() {
  if (!optional) return;
  date = SYSTEMTIME{};
  ApplyDate();
}

SYSTEMTIME DatePicker::GetDate() {
  if (!created || !window) return date;
  SYSTEMTIME shown{};
  if (SendMessageW(window, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) == GDT_NONE) {
    shown.wYear = shown.wMonth = shown.wDayOfWeek = shown.wDay = 0;
  }
  shown.wHour = shown.wMinute = shown.wSecond = shown.wMilliseconds = 0;
  date = shown;
  return date;
}

void DatePicker::OnDateTimeChange() {
  if (onDateChanged) onDateChanged(this, GetDate());
  if (onTextChanged) onTextChanged(this);
}

}  // namespace LumoUtility
