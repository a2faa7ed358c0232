#pragma once
#include <windows.h>

namespace LumoUtility {

// WM_COMMAND: menu commands to their item, control notifications to the control that
// raised them, toolbar buttons to their item. Answers true when the message is answered
// with *result instead of the default processing.
bool RouteCommand(WPARAM wParam, LPARAM lParam, LRESULT* result);

// WM_NOTIFY: up-down, date-picker, list-view, tooltip-text and header notifications.
// Answers true when the message is answered with *result instead of the default
// processing.
bool RouteNotification(const NMHDR& header, LPARAM lParam, LRESULT* result);

}  // namespace LumoUtility
