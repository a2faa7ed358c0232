#include "tools/UserFolderRedirect.h"

namespace {

constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kLocalAppDataValue[] = L"Local AppData";

}  // namespace

UserFolderRedirect::UserFolderRedirect() {
  RegCreateKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                  &key_, nullptr);
  wchar_t buffer[MAX_PATH * 4] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (key_ && RegQueryValueExW(key_, kLocalAppDataValue, nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
    previous_ = buffer;
    hadPrevious_ = true;
  }
}

UserFolderRedirect::~UserFolderRedirect() {
  if (!key_) return;
  if (hadPrevious_) {
    Write(previous_);
  } else {
    RegDeleteValueW(key_, kLocalAppDataValue);
  }
  RegCloseKey(key_);
}

bool UserFolderRedirect::PointAt(const std::filesystem::path& folder) {
  return key_ && Write(folder.wstring());
}

bool UserFolderRedirect::Write(const std::wstring& value) {
  return RegSetValueExW(key_, kLocalAppDataValue, 0, REG_EXPAND_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
