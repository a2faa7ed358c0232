#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/e2e/UiDriver.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace e2e {

// The main window's title with no vehicle shown.
extern const std::wstring kMainTitle;

// The real program started again and again on a user folder of its own, from a folder
// that holds "filedat", as its user would; each Start is a new process.
class ProgramRuns : public ::testing::Test {
 protected:
  explicit ProgramRuns(const std::filesystem::path& nameHint);

  // Starts the program and accepts its terms; answers its main window.
  HWND Start();
  // Esc, "Vuoi realmente uscire?" answered Yes, and the end of the program with code 0.
  void Exit(HWND main);

  TemporaryDirectory root;
  std::filesystem::path database;
  LocalAppDataRedirect redirect;
  std::unique_ptr<TargetProcess> program;
  std::unique_ptr<UiDriver> ui;
};

}  // namespace e2e
