#include "toolkit/Shell.h"

#include <utility>

#include "system/Ole32.h"
#include "system/Shell32.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

// Balances a successful CoInitialize on every way out.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(Ole32::CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialized_) Ole32::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Initialized() const { return initialized_; }

 private:
  bool initialized_;
};

FolderChooser& CurrentChooser() {
  static FolderChooser chooser;
  return chooser;
}

std::wstring SystemFolderDialog(const std::string& title, HWND owner) {
  ComScope com;
  if (!com.Initialized()) return L"";
  wchar_t buffer[MAX_PATH] = {};
  std::wstring wideTitle = WidenText(title);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = buffer;
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE item = Shell32::SHBrowseForFolderW(&info);
  if (item == nullptr) return L"";
  std::wstring folder;
  if (Shell32::SHGetPathFromIDListW(item, buffer)) folder = buffer;
  Ole32::CoTaskMemFree(item);
  return folder;
}

}  // namespace

FolderChooser SetFolderChooser(FolderChooser chooser) {
  return std::exchange(CurrentChooser(), std::move(chooser));
}

std::wstring BrowseForFolder(const std::string& title, HWND owner) {
  const FolderChooser& chooser = CurrentChooser();
  return chooser ? chooser(title, owner) : SystemFolderDialog(title, owner);
}

bool OpenDocument(const std::string& pathOrAddress) {
  HINSTANCE result = Shell32::ShellExecuteW(nullptr, L"open", WidenText(pathOrAddress).c_str(),
                                            nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace LumoUtility
