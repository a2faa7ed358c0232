#include "toolkit/SaveFileDialog.h"

#include <utility>
#include <vector>

#include "system/ComDlg32.h"
#include "system/Shell32.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

// Room for any path the dialog can return, long ones included.
constexpr DWORD kPathCapacity = 32768;

SaveFileChooser& CurrentChooser() {
  static SaveFileChooser chooser;
  return chooser;
}

std::wstring SystemSaveDialog(const SaveFileRequest& request) {
  std::vector<wchar_t> path(kPathCapacity, L'\0');
  request.proposedPath.copy(path.data(), kPathCapacity - 1);
  const std::wstring title = WidenText(request.title);
  // Pairs of name and pattern, each ended by a NUL, the list by a second one.
  std::wstring filter = WidenText(request.filterName) + L" (" + request.filterPattern + L")";
  filter.push_back(L'\0');
  filter += request.filterPattern;
  filter.push_back(L'\0');
  std::wstring extension = request.filterPattern;
  const std::size_t dot = extension.rfind(L'.');
  extension = dot == std::wstring::npos ? std::wstring() : extension.substr(dot + 1);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags =
      OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!ComDlg32::GetSaveFileNameW(&dialog)) return L"";
  return path.data();
}

}  // namespace

SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser) {
  return std::exchange(CurrentChooser(), std::move(chooser));
}

std::wstring ChooseSaveFile(const SaveFileRequest& request) {
  const SaveFileChooser& chooser = CurrentChooser();
  return chooser ? chooser(request) : SystemSaveDialog(request);
}

std::wstring DocumentsFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(Shell32::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT,
                                       folder))) {
    return L"";
  }
  return folder;
}

}  // namespace LumoUtility
