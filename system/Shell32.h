#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "system/LazyLibrary.h"

// The shell (shell32.dll), loaded on the first call. Same signatures as the system's; an
// export that cannot be found answers as a failed call would.
namespace Shell32 {

const LazyLibrary& Library();

HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, LPWSTR path);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                        INT show);

}  // namespace Shell32
