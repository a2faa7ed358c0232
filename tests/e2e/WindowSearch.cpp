#include "tests/e2e/WindowSearch.h"

#include <cwctype>

#include "tests/e2e/DriverError.h"

namespace e2e {
namespace {

struct TopSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectDescendant(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

}  // namespace

LRESULT SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT is copied between processes by the system; GetWindowText of another
  // process's window would not ask the window.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

bool ClassIs(HWND window, const std::wstring& className) {
  std::wstring actual = ClassOf(window);
  if (actual.size() != className.size()) return false;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (std::towlower(actual[i]) != std::towlower(className[i])) return false;
  }
  return true;
}

bool IsToolkitForm(HWND window) {
  std::wstring name = ClassOf(window);
  return name.size() > 6 && name.compare(0, 6, L"Window") == 0 &&
         name.find_first_not_of(L"0123456789", 6) == std::wstring::npos;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  TopSearch search{processId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectDescendant, reinterpret_cast<LPARAM>(&all));
  return all;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RectInParent(HWND window) {
  RECT rect = ScreenRect(window);
  HWND parent = GetParent(window);
  if (parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

std::string Describe(HWND window) {
  if (!window) return "(no window)";
  return Utf8(ClassOf(window)) + " \"" + Utf8(WindowText(window)) + "\"";
}

std::string DescribeAll(const std::vector<HWND>& windows) {
  if (windows.empty()) return "none";
  std::string list;
  for (HWND window : windows) {
    if (!list.empty()) list += ", ";
    list += Describe(window);
  }
  return list;
}

}  // namespace e2e
