#include "tests/support/WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kLocalAppDataValue[] = L"Local AppData";

struct BoxSearch {
  std::wstring caption;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || std::wstring(className) != L"#32770") return TRUE;
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  if (search->caption != caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::filesystem::path ExecutableFolder() {
  std::vector<wchar_t> buffer(32768);
  DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
}

bool RunFromTestKit() { return _wgetenv(L"TORVANE_TEST_KIT") != nullptr; }

CurrentDirectoryScope::CurrentDirectoryScope(const std::filesystem::path& folder) {
  wchar_t buffer[MAX_PATH * 4] = {};
  GetCurrentDirectoryW(MAX_PATH * 4, buffer);
  previous_ = buffer;
  SetCurrentDirectoryW(folder.wstring().c_str());
}

CurrentDirectoryScope::~CurrentDirectoryScope() { SetCurrentDirectoryW(previous_.c_str()); }

LocalAppDataRedirect::LocalAppDataRedirect(const std::filesystem::path& folder) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                  &key, nullptr);
  wchar_t buffer[MAX_PATH * 4] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (RegQueryValueExW(key, kLocalAppDataValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                       &size) == ERROR_SUCCESS) {
    previous_ = buffer;
    hadPrevious_ = true;
  }
  std::wstring value = folder.wstring();
  RegSetValueExW(key, kLocalAppDataValue, 0, REG_EXPAND_SZ,
                 reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

LocalAppDataRedirect::~LocalAppDataRedirect() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
    return;
  }
  if (hadPrevious_) {
    RegSetValueExW(key, kLocalAppDataValue, 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(previous_.c_str()),
                   static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key, kLocalAppDataValue);
  }
  RegCloseKey(key);
}

std::future<ScreenMessageBox> AnswerMessageBoxAsync(const std::wstring& caption, int button,
                                                    DWORD processId,
                                                    std::chrono::milliseconds timeout) {
  return std::async(std::launch::async, [=] {
    ScreenMessageBox box;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    BoxSearch search{caption, processId, nullptr};
    while (std::chrono::steady_clock::now() < deadline) {
      EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
      if (search.found) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!search.found) return box;
    box.found = true;
    box.caption = caption;
    wchar_t text[2048] = {};
    GetDlgItemTextW(search.found, 0xFFFF, text, 2048);
    box.text = text;
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return box;
  });
}

void PutOnClipboard(HWND window, const std::wstring& text) {
  bool opened = false;
  for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
    opened = OpenClipboard(window) != FALSE;
    if (!opened) Sleep(10);
  }
  ASSERT_TRUE(opened) << "clipboard busy";
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(memory, nullptr);
  auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
  text.copy(copy, text.size());
  copy[text.size()] = L'\0';
  GlobalUnlock(memory);
  ASSERT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);  // the clipboard owns it
  CloseClipboard();
}
