#pragma once
#include <windows.h>

#include "toolkit/ControlNotifications.h"
#include "toolkit/PanelChildren.h"

namespace LumoUtility {

using DateChangedCallback = void (*)(GUIElement* element, SYSTEMTIME date);

// A date field with a drop-down calendar; an optional one carries a check box and may hold
// no date (a zero year).
class DatePicker : public PanelChildren, public ControlNotifications {
 public:
  explicit DatePicker(GUIElement* parentElement);

  void Create() override;

  // Writes the date and puts it on the window.
  void SetDate(const SYSTEMTIME& newDate);
  // Puts the stored date on the window (none for a zero year) and reports it.
  void ApplyDate();
  void ApplyRange();
  // Only for an optional picker: no date.
  void ClearDate();
  // The window's date with a zero time of day (year, month and day zero when there is no
  // date); before the window exists, the stored date as stored.
  SYSTEMTIME GetDate();
  void OnDateTimeChange() override;

  SYSTEMTIME date{};
  bool optional = false;
  SYSTEMTIME rangeMinimum{};
  SYSTEMTIME rangeMaximum{};
  bool hasMinimum = false;
  bool hasMaximum = false;
  DateChangedCallback onDateChanged = nullptr;
};

}  // namespace LumoUtility
