#include "tests/support/ResourceCounts.h"

#include <windows.h>

#include <vector>

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

int GdiRoom() {
  std::vector<HBITMAP> made;
  while (made.size() < 100000) {
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    if (!bitmap) break;
    made.push_back(bitmap);
  }
  for (HBITMAP bitmap : made) DeleteObject(bitmap);
  return static_cast<int>(made.size());
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}
