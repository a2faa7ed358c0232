#include "app/FileSystem.h"

#include <windows.h>

#include "app/FilePaths.h"
#include "system/Shell32.h"
#include "toolkit/base/TextEncoding.h"

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ClearReadOnly(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
  return SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

bool EnsureDirectory(const std::wstring& path) {
  if (PathExists(path)) return true;
  return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

std::wstring LocalAppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(Shell32::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer)))
    return L"";
  return buffer;
}

std::wstring PrepareUserDataFolder(const std::string& applicationFolderName) {
  std::wstring folder =
      WithTrailingBackslash(LocalAppDataFolder()) + LumoUtility::WidenText(applicationFolderName);
  if (!PathExists(folder) && !EnsureDirectory(folder)) return L"";
  std::wstring sub = WithTrailingBackslash(folder) + L"dati";
  bool ok = PathExists(sub) || EnsureDirectory(sub);
  return ok ? WithTrailingBackslash(sub) : L"";
}
