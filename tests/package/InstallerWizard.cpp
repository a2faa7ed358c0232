// Installs the program the way a user does, through the installer's pages:
//   installer-wizard <setup.exe>
// Presses "Avanti" and "Installa" until the finish page shows, prints every check box that
// page offers ("option=<text>", "(checked)" when ticked), clears them all, so nothing is
// started, closes the installer and exits with its exit code.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace {

constexpr wchar_t kCaption[] = L"Installazione di Torvane Manutenzione";
constexpr wchar_t kNext[] = L"&Avanti >";
constexpr wchar_t kInstall[] = L"Ins&talla";
constexpr wchar_t kClose[] = L"&Chiudi";  // the finish page's button

HWND VisibleButton(HWND wizard, const std::wstring& text) {
  for (HWND child : e2e::Descendants(wizard)) {
    if (e2e::ClassIs(child, L"Button") && IsWindowVisible(child) &&
        e2e::WindowText(child) == text) {
      return child;
    }
  }
  return nullptr;
}

bool IsCheckBox(HWND control) {
  LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  return e2e::ClassIs(control, L"Button") && IsWindowVisible(control) &&
         (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: installer-wizard <setup.exe>\n");
    return 2;
  }
  try {
    e2e::TargetProcess installer(argv[1], L".");
    installer.timeout = std::chrono::seconds(60);
    e2e::UiDriver ui(installer);
    HWND wizard = nullptr;
    e2e::WaitUntil(
        [&] {
          for (HWND window : e2e::TopLevelWindows(installer.Id())) {
            if (e2e::WindowText(window) == kCaption) wizard = window;
          }
          return wizard != nullptr;
        },
        ui.Timeout(), "the installer's window");

    // One page at a time: the button is pressed only once it accepts input, and the
    // installing page moves on by itself.
    HWND close = nullptr;
    e2e::WaitUntil(
        [&] {
          close = VisibleButton(wizard, kClose);
          if (close) return true;
          for (const wchar_t* step : {kInstall, kNext}) {
            HWND button = VisibleButton(wizard, step);
            if (button && IsWindowEnabled(button)) {
              ui.Click(button);
              Sleep(300);
              break;
            }
          }
          return false;
        },
        ui.Timeout(), "the installer's finish page");

    for (HWND control : e2e::Descendants(wizard)) {
      if (!IsCheckBox(control)) continue;
      bool ticked = ui.Checked(control);
      std::wprintf(L"option=%ls%ls\n", e2e::WindowText(control).c_str(),
                   ticked ? L" (checked)" : L"");
      ui.SetChecked(control, false);
    }
    std::fflush(stdout);
    ui.Click(close);
    return static_cast<int>(installer.WaitForExit(std::chrono::seconds(20)));
  } catch (const e2e::DriverError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 6;
  }
}
