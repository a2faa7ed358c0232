// The system's save dialog itself, driven from a second thread while the first waits in
// it, as a user would: the proposed name, a name typed over it, the question before an
// existing file is replaced.
#include "toolkit/SaveFileDialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "tests/support/TemporaryDirectory.h"

using namespace LumoUtility;

namespace {

// The first dialog of this process with that caption (or, with an empty caption, owned by
// `owner`), waited for.
HWND WaitForDialog(const std::wstring& caption, HWND owner = nullptr) {
  for (int attempt = 0; attempt < 500; ++attempt) {
    HWND dialog = nullptr;
    while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(dialog, &process);
      if (process != GetCurrentProcessId() || !IsWindowVisible(dialog)) continue;
      wchar_t text[256] = {};
      GetWindowTextW(dialog, text, 256);
      if (owner ? GetWindow(dialog, GW_OWNER) == owner : caption == text) return dialog;
    }
    Sleep(20);
  }
  return nullptr;
}

// The file-name box: a combo box in the Explorer layout (a ComboBoxEx32 under Wine), an
// edit in the old one; either takes and gives the name as its window text.
HWND NameBox(HWND dialog) {
  HWND box = GetDlgItem(dialog, 0x47C);          // cmb13
  return box ? box : GetDlgItem(dialog, 0x480);  // edt1
}

// Reads the proposed name, types `path` over it and confirms; with `replace`, also answers
// Yes to the question about replacing the file. Answers the proposed name.
std::wstring TypeAndSave(const std::wstring& path, bool replace) {
  HWND dialog = WaitForDialog(L"Esporta storico");
  if (!dialog) return L"<no dialog>";
  // The dialog fills the box a moment after it shows.
  wchar_t proposed[MAX_PATH] = {};
  for (int attempt = 0; attempt < 500 && !proposed[0]; ++attempt) {
    Sleep(20);
    GetWindowTextW(NameBox(dialog), proposed, MAX_PATH);
  }
  SetWindowTextW(NameBox(dialog), path.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (replace) {
    HWND question = WaitForDialog(L"", dialog);
    if (!question) {
      std::wstring seen;
      HWND any = nullptr;
      while ((any = FindWindowExW(nullptr, any, nullptr, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(any, &process);
        if (process != GetCurrentProcessId()) continue;
        wchar_t text[256] = {}, kind[64] = {};
        GetWindowTextW(any, text, 256);
        GetClassNameW(any, kind, 64);
        seen += std::wstring(kind) + L":" + text + (IsWindowVisible(any) ? L"(v)" : L"") + L";";
      }
      return L"<no question>" + seen;
    }
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  }
  return proposed;
}

}  // namespace

TEST(SaveFileDialog, ProposesTheNameAndAsksBeforeReplacingAFile) {
  TemporaryDirectory folder{"save-dialog"};
  const std::wstring target = (folder / "storico.csv").wstring();
  SaveFileRequest request{"Esporta storico", (folder / "Storico_AB123CD.csv").wstring(), "File CSV",
                          L"*.csv", nullptr};
  for (const bool exists : {false, true}) {
    if (exists) std::ofstream(std::filesystem::path(target)) << "x";
    std::future<std::wstring> proposed =
        std::async(std::launch::async, TypeAndSave, target, exists);
    EXPECT_EQ(ChooseSaveFile(request), target);
    EXPECT_EQ(proposed.get(), L"Storico_AB123CD.csv");
  }
}
