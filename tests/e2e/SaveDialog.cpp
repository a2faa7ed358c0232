// The standard save dialog (GetSaveFileNameW) of the program. Wine shows the
// Explorer-style dialog (the file name in the edit box of a ComboBoxEx, id cmb13); Windows
// since Vista shows the common item dialog, whose file name box is an edit box in a
// combo box as well, deeper down. Both have "Save" as the button IDOK, so the driver looks
// for those two shapes only, never for ids or texts of one dialog.
#include <windows.h>

#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

HWND FindDialog(DWORD processId, const std::wstring& title) {
  for (HWND window : TopLevelWindows(processId)) {
    if (ClassIs(window, L"#32770") && WindowText(window) == title) return window;
  }
  return nullptr;
}

HWND FileNameBox(HWND dialog) {
  for (HWND child : Descendants(dialog)) {
    if (ClassIs(child, L"Edit") && IsWindowVisible(child) &&
        ClassIs(GetParent(child), L"ComboBox")) {
      return child;
    }
  }
  throw DriverError("the save dialog has no file name box; its controls: " +
                    DescribeAll(Descendants(dialog)));
}

HWND SaveButton(HWND dialog) {
  for (HWND child : ChildWindows(dialog)) {
    if (ClassIs(child, L"Button") && GetDlgCtrlID(child) == IDOK) return child;
  }
  throw DriverError("the save dialog has no button IDOK");
}

}  // namespace

HWND UiDriver::WaitForSaveDialog(const std::wstring& title) {
  HWND dialog = nullptr;
  try {
    WaitUntil([&] { return (dialog = FindDialog(process_.Id(), title)) != nullptr; }, Timeout(),
              "the save dialog \"" + Utf8(title) + "\"");
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) +
                      "; open windows: " + DescribeAll(TopLevelWindows(process_.Id())));
  }
  // The dialog fills its boxes after it shows.
  auto proposed = [&] {
    try {
      return !Text(FileNameBox(dialog)).empty();
    } catch (const DriverError&) {
      return false;
    }
  };
  WaitUntil(proposed, Timeout(), "a file name proposed in the save dialog");
  return dialog;
}

std::wstring UiDriver::SaveDialogFileName(HWND dialog) { return Text(FileNameBox(dialog)); }

void UiDriver::SaveAs(HWND dialog, const std::wstring& path) {
  HWND box = FileNameBox(dialog);
  ReplaceText(box, path);
  WaitForText(box, path);
  Click(SaveButton(dialog));
  WaitGone(dialog, "the save dialog");
}

}  // namespace e2e
