#pragma once

namespace LumoUtility {

// The characters the key-press handlers tell apart, as WM_CHAR delivers them.
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kDelete = 127;

}  // namespace LumoUtility
