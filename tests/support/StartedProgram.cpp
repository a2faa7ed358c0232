#include "tests/support/StartedProgram.h"

#include <thread>

namespace {

struct WindowSearch {
  DWORD processId;
  std::wstring text;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (WindowText(window) != search->text) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK MatchChildText(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  if (WindowText(window) != search->text) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

StartedProgram::StartedProgram(const std::filesystem::path& program,
                               const std::filesystem::path& workingFolder) {
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const std::wstring folder = workingFolder.wstring();
  started_ = CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                            0, nullptr, folder.empty() ? nullptr : folder.c_str(), &startup,
                            &info_);
}

StartedProgram::~StartedProgram() {
  if (!started_) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool StartedProgram::Running() const {
  return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD StartedProgram::WaitForExit(std::chrono::milliseconds timeout) const {
  DWORD code = STILL_ACTIVE;
  if (started_ &&
      WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info_.hProcess, &code);
  }
  return code;
}

HWND WaitForProcessWindow(DWORD processId, const std::wstring& title,
                          std::chrono::milliseconds timeout) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  auto deadline = std::chrono::steady_clock::now() + timeout;
  WindowSearch search{processId, title, nullptr};
  for (;;) {
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found || std::chrono::steady_clock::now() >= deadline) break;
    if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (process) CloseHandle(process);
  return search.found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

HWND FindChildWithText(HWND parent, const std::wstring& text) {
  WindowSearch search{0, text, nullptr};
  EnumChildWindows(parent, MatchChildText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool PressButton(HWND parent, const std::wstring& text) {
  HWND button = FindChildWithText(parent, text);
  if (!button) return false;
  // Posted, not sent: the press runs in the program's own loop, which may then show a
  // box or end without waiting on this process.
  PostMessageW(button, BM_CLICK, 0, 0);
  return true;
}
