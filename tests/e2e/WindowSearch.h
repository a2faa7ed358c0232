#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Reading windows of another process: their texts, classes, places and children.

// SendMessage that gives up after a few seconds when the program does not answer, so
// that a hung program fails the run instead of stopping it.
LRESULT SendTimed(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
bool ClassIs(HWND window, const std::wstring& className);  // case-insensitive
// True for the toolkit's forms ("Window" followed by a number).
bool IsToolkitForm(HWND window);
// The visible top-level windows of the process, in z-order (topmost first).
std::vector<HWND> TopLevelWindows(DWORD processId);
// Direct children in z-order (for controls: creation order), or every descendant.
std::vector<HWND> ChildWindows(HWND parent);
std::vector<HWND> Descendants(HWND parent);
// The window's rectangle in its parent's client coordinates (screen for top-level ones).
RECT RectInParent(HWND window);
RECT ScreenRect(HWND window);
// "Button \"OK\"" and the like, for failure messages.
std::string Describe(HWND window);
std::string DescribeAll(const std::vector<HWND>& windows);

}  // namespace e2e
