#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

// The program under test, started as its own process (or an existing process by id).
// Owns the process handles; a process still running when this goes is terminated, so a
// failed test never leaves the program behind.
class TargetProcess {
 public:
  // Starts the executable with the given current folder and command-line arguments.
  TargetProcess(const std::filesystem::path& executable, const std::filesystem::path& folder,
                const std::wstring& arguments = L"");
  ~TargetProcess();
  TargetProcess(const TargetProcess&) = delete;
  TargetProcess& operator=(const TargetProcess&) = delete;

  DWORD Id() const { return processId_; }
  HANDLE Handle() const { return process_; }
  bool Running() const;
  // Waits for the process to end and answers its exit code; throws on timeout.
  DWORD WaitForExit(Milliseconds timeout);

  // How long every wait of the driver lasts before it gives up.
  Milliseconds timeout{std::chrono::seconds(10)};

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

// Polls the condition (every few milliseconds) until it holds; throws a DriverError
// naming what was awaited when the time runs out.
void WaitUntil(const std::function<bool()>& condition, Milliseconds timeout,
               const std::string& what);

}  // namespace e2e
