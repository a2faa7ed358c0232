#include "toolkit/Shell.h"

#include <gtest/gtest.h>

#include "tests/support/WindowsTestSupport.h"

using namespace LumoUtility;

TEST(Shell, CancelledFolderChooserGivesNothing) {
  // The chooser's caption is fixed by the system; find it by process and press Cancel.
  std::future<std::wstring> title = std::async(std::launch::async, [] {
    // The dialog's caption is the system's; the title is one of its static texts,
    // which may be filled a moment after the dialog appears.
    std::wstring seen = L"<no dialog>";
    for (int i = 0; i < 1000; ++i) {
      HWND dialog = nullptr;
      while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(dialog, &process);
        if (process != GetCurrentProcessId()) continue;
        for (HWND label = FindWindowExW(dialog, nullptr, L"Static", nullptr); label != nullptr;
             label = FindWindowExW(dialog, label, L"Static", nullptr)) {
          wchar_t text[512] = {};
          GetWindowTextW(label, text, 512);
          if (std::wstring(text).find(L"backup") != std::wstring::npos) seen = text;
        }
        if (seen != L"<no dialog>" || i > 500) {
          PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
          return seen;
        }
      }
      Sleep(20);
    }
    return seen;
  });
  std::wstring chosen = BrowseForFolder("Seleziona dove si trova il backup già fatto", nullptr);
  EXPECT_EQ(chosen, L"");
  EXPECT_EQ(title.get(), L"Seleziona dove si trova il backup gi\u00E0 fatto");
}

TEST(Shell, OpeningSomethingThatDoesNotExistFails) {
  EXPECT_FALSE(OpenDocument("C:\\questo\\file\\non\\esiste.txt"));
}
