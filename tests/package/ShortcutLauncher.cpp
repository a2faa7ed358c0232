// Starts a program the way the Start menu does: reads a shortcut (.lnk) and runs its
// target in the shortcut's working folder, then exits with the program's exit code.
// Prints the target and the working folder first.
// Usage: shortcut-launcher <shortcut.lnk>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: shortcut-launcher <shortcut.lnk>\n");
    return 2;
  }
  if (FAILED(CoInitialize(nullptr))) return 3;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t target[MAX_PATH] = {};
  wchar_t folder[MAX_PATH] = {};
  bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(argv[1], STGM_READ)) &&
              SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
              SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  if (!read) {
    std::fwprintf(stderr, L"cannot read the shortcut\n");
    return 4;
  }
  std::wprintf(L"target=%ls\nfolder=%ls\n", target, folder);
  std::fflush(stdout);

  std::wstring commandLine = L"\"" + std::wstring(target) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(target, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder[0] ? folder : nullptr, &startup, &process)) {
    std::fwprintf(stderr, L"cannot start the program\n");
    return 5;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
