#pragma once
#include <windows.h>

#include "toolkit/KeyboardShortcut.h"

namespace MyApp {

// The keys of the toolbar commands, the same command the same key in every form: the
// ones Windows programs use where there is a habit (Ctrl+N new, Ctrl+O open, F2 change,
// Canc delete), a letter of the command's name otherwise.
constexpr LumoUtility::KeyboardShortcut kNewShortcut{'N', true};
constexpr LumoUtility::KeyboardShortcut kOpenShortcut{'O', true};
constexpr LumoUtility::KeyboardShortcut kChangeShortcut{VK_F2, false};
constexpr LumoUtility::KeyboardShortcut kAddShortcut{VK_INSERT, false};
constexpr LumoUtility::KeyboardShortcut kCatalogueShortcut{'G', true};
constexpr LumoUtility::KeyboardShortcut kCloseVehicleShortcut{'W', true};
constexpr LumoUtility::KeyboardShortcut kDeleteShortcut{VK_DELETE, false};
constexpr LumoUtility::KeyboardShortcut kHistoryShortcut{'H', true};
constexpr LumoUtility::KeyboardShortcut kExportShortcut{'E', true};

}  // namespace MyApp
