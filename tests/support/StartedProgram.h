#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

// A program started as its own process, as a user starts it, with its command line holding
// only its quoted path, in the working folder (an empty one: this process's). One still running when this goes is ended by force, so that a failed
// test leaves no window behind for the next one.
class StartedProgram {
 public:
  StartedProgram(const std::filesystem::path& program, const std::filesystem::path& workingFolder);
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // The exit code once the program has ended; STILL_ACTIVE when it is still running after
  // the timeout.
  DWORD WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

// Waits for a visible top-level window of the process with exactly this title; null when
// none came in time or the process ended first.
HWND WaitForProcessWindow(DWORD processId, const std::wstring& title,
                          std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The window's title or control text, read from any process.
std::wstring WindowText(HWND window);

// The child window (control) of the window with exactly this text, or null.
HWND FindChildWithText(HWND parent, const std::wstring& text);

// Presses a button of another process's window with this text, as a click would; false
// when the window has no such button.
bool PressButton(HWND parent, const std::wstring& text);
