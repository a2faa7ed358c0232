// Starts the program the way a user does and answers its terms window:
//   shortcut-launcher <shortcut.lnk>   as the Start menu does: the shortcut's target, in the
//                                      shortcut's working folder
//   shortcut-launcher <program.exe>    as a double-click in an unpacked folder: the program,
//                                      in the current folder
// Prints the target and the working folder, waits for the terms window, prints its title,
// declines the terms ("Non Accetto") and exits with the program's exit code.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/e2e/UiDriver.h"

namespace {

constexpr wchar_t kTermsCaption[] = L"Leggimi";

bool ReadShortcut(const wchar_t* shortcut, wchar_t (&target)[MAX_PATH],
                  wchar_t (&folder)[MAX_PATH]) {
  if (FAILED(CoInitialize(nullptr))) return false;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(shortcut, STGM_READ)) &&
              SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
              SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return read;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  if (text.size() < tail.size()) return false;
  return CompareStringOrdinal(text.c_str() + text.size() - tail.size(),
                              static_cast<int>(tail.size()), tail.c_str(),
                              static_cast<int>(tail.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: shortcut-launcher <shortcut.lnk | program.exe>\n");
    return 2;
  }
  wchar_t target[MAX_PATH] = {};
  wchar_t folder[MAX_PATH] = {};
  if (EndsWith(argv[1], L".lnk")) {
    if (!ReadShortcut(argv[1], target, folder)) {
      std::fwprintf(stderr, L"cannot read the shortcut\n");
      return 4;
    }
  } else {
    GetFullPathNameW(argv[1], MAX_PATH, target, nullptr);
    GetCurrentDirectoryW(MAX_PATH, folder);
  }
  std::wprintf(L"target=%ls\nfolder=%ls\n", target, folder);
  std::fflush(stdout);

  try {
    e2e::TargetProcess program(target, folder);
    // The first start in a new prefix is slow.
    program.timeout = std::chrono::seconds(30);
    e2e::UiDriver ui(program);
    HWND terms = ui.WaitForForm(kTermsCaption);
    std::wprintf(L"terms=%ls\n", ui.Text(terms).c_str());
    std::fflush(stdout);
    ui.ClickButton(terms, L"Non Accetto");
    return static_cast<int>(program.WaitForExit(std::chrono::seconds(20)));
  } catch (const e2e::DriverError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 6;
  }
}
