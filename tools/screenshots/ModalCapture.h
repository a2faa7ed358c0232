#pragma once
#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

// Takes a picture while the GUI thread sits in a modal loop it does not return from by
// itself (a message box, an open menu): a second thread waits for the window to appear,
// lets it paint, captures the area, and then dismisses the window so the loop ends.
class ModalCapture {
 public:
  using Finder = std::function<HWND()>;
  using Area = std::function<RECT(HWND found)>;
  using Dismiss = std::function<void(HWND found)>;

  ModalCapture(Finder find, Area area, std::filesystem::path bmpFile, Dismiss dismiss);
  ~ModalCapture();
  ModalCapture(const ModalCapture&) = delete;
  ModalCapture& operator=(const ModalCapture&) = delete;

  bool Done() const { return done_; }
  bool Succeeded() const { return succeeded_; }

 private:
  void Run();

  Finder find_;
  Area area_;
  std::filesystem::path bmpFile_;
  Dismiss dismiss_;
  std::atomic<bool> done_{false};
  std::atomic<bool> succeeded_{false};
  std::thread thread_;  // last: started once everything it reads is in place
};
