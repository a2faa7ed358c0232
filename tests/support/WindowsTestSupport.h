#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

// Folder of the running test executable (the program and "filedat" are built beside it).
std::filesystem::path ExecutableFolder();

// True when the Windows test kit's run-tests.cmd runs the test rather than CTest, which
// prepares some fixtures on the Linux side.
bool RunFromTestKit();

// Sets the process's current folder and restores the previous one.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::filesystem::path& folder);
  ~CurrentDirectoryScope();
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  std::wstring previous_;
};

// Points the user's local application-data folder (as the shell reports it) at another
// folder, for this Wine prefix, and restores it afterwards.
class LocalAppDataRedirect {
 public:
  explicit LocalAppDataRedirect(const std::filesystem::path& folder);
  ~LocalAppDataRedirect();
  LocalAppDataRedirect(const LocalAppDataRedirect&) = delete;
  LocalAppDataRedirect& operator=(const LocalAppDataRedirect&) = delete;

 private:
  std::wstring previous_;
  bool hadPrevious_ = false;
};

// A message box as another thread or process sees it on screen.
struct ScreenMessageBox {
  bool found = false;
  std::wstring caption;
  std::wstring text;
};

// Waits (on another thread) for a message box with the given caption owned by the
// given process, reads it, and presses the button with the given id.
std::future<ScreenMessageBox> AnswerMessageBoxAsync(
    const std::wstring& caption, int button, DWORD processId = GetCurrentProcessId(),
    std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Puts the text on the clipboard, as a user's copy would (fails the test when the
// clipboard stays busy).
void PutOnClipboard(HWND window, const std::wstring& text);
