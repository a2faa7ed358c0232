#include "tests/support/ChooserVisibleFolder.h"

#include <windows.h>

ChooserVisibleFolder::ChooserVisibleFolder(const std::string& nameHint)
    : folder_(std::make_unique<TemporaryDirectory>(nameHint, root_)) {}

ChooserVisibleFolder::~ChooserVisibleFolder() {
  folder_.reset();
  std::error_code ignored;
  std::filesystem::remove(root_, ignored);  // refused while another test still uses it
}

std::filesystem::path ChooserVisibleFolder::Root() {
  wchar_t windows[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  // "C:\" of "C:\windows": the drive's root is listed under the computer in the chooser.
  std::filesystem::path drive =
      length > 0 ? std::filesystem::path(windows).root_path() : std::filesystem::path(L"C:\\");
  std::filesystem::path root = drive / "torvane-test";
  std::filesystem::create_directories(root);
  return root;
}
