#include "system/Shell32.h"

namespace Shell32 {
namespace {

LazyLibrary& Module() {
  static LazyLibrary library(L"shell32.dll");
  return library;
}

}  // namespace

const LazyLibrary& Library() { return Module(); }

HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  static auto* const function = Module().Find<decltype(::SHGetFolderPathW)>("SHGetFolderPathW");
  if (function != nullptr) return function(owner, folder, token, flags, path);
  path[0] = L'\0';
  return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
  static auto* const function = Module().Find<decltype(::SHBrowseForFolderW)>("SHBrowseForFolderW");
  return function != nullptr ? function(info) : nullptr;
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, LPWSTR path) {
  static auto* const function =
      Module().Find<decltype(::SHGetPathFromIDListW)>("SHGetPathFromIDListW");
  return function != nullptr ? function(item, path) : FALSE;
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                        INT show) {
  static auto* const function = Module().Find<decltype(::ShellExecuteW)>("ShellExecuteW");
  if (function != nullptr) return function(owner, verb, file, parameters, folder, show);
  // Values up to 32 are the call's errors.
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

}  // namespace Shell32
