#include "tests/e2e/TargetProcess.h"

#include <thread>

#include "tests/e2e/DriverError.h"

namespace e2e {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

TargetProcess::TargetProcess(const std::filesystem::path& executable,
                             const std::filesystem::path& folder, const std::wstring& arguments) {
  std::wstring program = executable.wstring();
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.wstring().c_str(), &startup, &info)) {
    throw DriverError("cannot start " + Utf8(program) + " (error " +
                      std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

TargetProcess::~TargetProcess() {
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool TargetProcess::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

DWORD TargetProcess::WaitForExit(Milliseconds timeout) {
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    throw DriverError("the program did not end within " + std::to_string(timeout.count()) + " ms");
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void WaitUntil(const std::function<bool()>& condition, Milliseconds timeout,
               const std::string& what) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return;
    if (std::chrono::steady_clock::now() >= deadline) {
      throw DriverError("timed out after " + std::to_string(timeout.count()) + " ms waiting for " +
                        what);
    }
    std::this_thread::sleep_for(Milliseconds(15));
  }
}

}  // namespace e2e
