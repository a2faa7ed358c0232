#include "app/Startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

#include "app/FileChecksum.h"
#include "app/FileSystem.h"
#include "app/ProgramRun.h"
#include "app/TemplateChecksum.h"
#include "data/DatabasePath.h"
#include "tests/support/GuiTestHarness.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/base/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

const char kNotFound[] =
    "File dat non trovato.\nSe esegui il programma da un archivio zip dovrai decomprimere "
    "tutto il contenuto in una cartella ed eseguire il programma dalla cartella";
const char kDamaged[] =
    "File dat danneggiato. Scaricare nuovamente il programma da http://www.torvane.it";
const char kCopyFailed[] = "Inizializzazione del database fallita.";

fs::path ShippedTemplate() { return ExecutableFolder() / "filedat"; }

// Each test runs in an empty current folder, with the local application-data folder
// redirected into its own temporary folder.
class Startup : public ::testing::Test {
 protected:
  Startup() : appData_(root_ / "AppData" / "Local"), current_(root_ / "lavoro") {
    fs::create_directories(appData_);
    fs::create_directories(current_);
    redirect_ = std::make_unique<LocalAppDataRedirect>(appData_);
    cwd_ = std::make_unique<CurrentDirectoryScope>(current_);
    DatabasePath.clear();
  }

  fs::path ExpectedDatabase() const {
    return appData_ / "TorvaneManutenzione" / "dati" / "dati.mdb";
  }

  void ExpectSingleError(const std::string& text) {
    ASSERT_EQ(boxes_.Requests().size(), 1u);
    const auto& box = boxes_.Requests()[0];
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Errore");
    EXPECT_EQ(box.style, static_cast<unsigned>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_EQ(box.owner, nullptr);
  }

  TemporaryDirectory root_{"startup"};
  fs::path appData_;
  fs::path current_;
  std::unique_ptr<LocalAppDataRedirect> redirect_;
  std::unique_ptr<CurrentDirectoryScope> cwd_;
  MessageBoxRecorder boxes_;
};

}  // namespace

TEST(TemplateChecksumConstant, MatchesTheShippedTemplate) {
  ASSERT_TRUE(fs::exists(ShippedTemplate()));
  EXPECT_EQ(std::string(ExpectedTemplateChecksum), ComputeFileChecksum(ShippedTemplate()));
  EXPECT_EQ(std::string(ExpectedTemplateChecksum).size(), 32u);
}

TEST_F(Startup, CopiesTheTemplateFromTheCurrentFolder) {
  fs::copy_file(ShippedTemplate(), current_ / "filedat");
  EXPECT_TRUE(ProvisionDatabase());
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_EQ(fs::path(DatabasePath), ExpectedDatabase());
  EXPECT_EQ(ReadFileBytes(ExpectedDatabase()), ReadFileBytes(ShippedTemplate()));
}

TEST_F(Startup, FallsBackToTheParentFolder) {
  fs::copy_file(ShippedTemplate(), root_ / "filedat");
  EXPECT_TRUE(ProvisionDatabase());
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_EQ(ReadFileBytes(ExpectedDatabase()), ReadFileBytes(ShippedTemplate()));
}

TEST_F(Startup, IgnoresTheTemplateBesideTheExecutable) {
  ASSERT_TRUE(fs::exists(ShippedTemplate()));
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr)), 1);
  ExpectSingleError(kNotFound);
  EXPECT_FALSE(fs::exists(appData_ / "TorvaneManutenzione"));
}

TEST_F(Startup, RefusesADamagedTemplate) {
  std::string bytes = ReadFileBytes(ShippedTemplate());
  bytes[bytes.size() / 2] ^= 0x01;
  WriteFileBytes(current_ / "filedat", bytes);
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr)), 1);
  ExpectSingleError(kDamaged);
  EXPECT_FALSE(fs::exists(ExpectedDatabase()));
}

TEST_F(Startup, RefusesAFolderNamedLikeTheTemplate) {
  fs::create_directory(current_ / "filedat");
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr)), 1);
  ExpectSingleError(kDamaged);
}

TEST_F(Startup, ReportsACopyThatFails) {
  // CTest prepares a user folder whose "dati.mdb" is a dangling link: nothing exists
  // there for the program, yet no file can be created there.
  const wchar_t* blocked = _wgetenv(L"TORVANE_TEST_BLOCKED_APPDATA");
  if (!blocked && RunFromTestKit()) GTEST_SKIP() << "needs the dangling link CTest makes on Linux";
  ASSERT_NE(blocked, nullptr) << "run through CTest, which prepares the blocked folder";
  LocalAppDataRedirect redirect{fs::path(blocked)};
  fs::copy_file(ShippedTemplate(), current_ / "filedat");
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr)), 1);
  ExpectSingleError(kCopyFailed);
}

TEST_F(Startup, LeavesAnExistingDatabaseAlone) {
  fs::copy_file(ShippedTemplate(), current_ / "filedat");
  fs::create_directories(ExpectedDatabase().parent_path());
  WriteFileBytes(ExpectedDatabase(), "the user's own data");
  auto stamp = fs::last_write_time(ExpectedDatabase()) - std::chrono::hours(24);
  fs::last_write_time(ExpectedDatabase(), stamp);

  EXPECT_TRUE(ProvisionDatabase());
  EXPECT_TRUE(ProvisionDatabase());
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_EQ(ReadFileBytes(ExpectedDatabase()), "the user's own data");
  EXPECT_EQ(fs::last_write_time(ExpectedDatabase()), stamp);
}

TEST_F(Startup, ReadOnlyTemplateGivesAWritableDatabase) {
  fs::path templateFile = current_ / "filedat";
  fs::copy_file(ShippedTemplate(), templateFile);
  ASSERT_TRUE(SetFileAttributesW(templateFile.wstring().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(ProvisionDatabase());
  DWORD attributes = GetFileAttributesW(ExpectedDatabase().wstring().c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
  HANDLE writable = CreateFileW(ExpectedDatabase().wstring().c_str(), GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(writable, INVALID_HANDLE_VALUE);
  CloseHandle(writable);
  EXPECT_NE(GetFileAttributesW(templateFile.wstring().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Startup, WorksUnderAUserFolderOutsideTheCodePage) {
  fs::path unicodeAppData = root_ / L"\u0141ukasz \u4E2D" / "AppData";
  fs::create_directories(unicodeAppData);
  LocalAppDataRedirect redirect(unicodeAppData);
  fs::copy_file(ShippedTemplate(), current_ / "filedat");

  EXPECT_TRUE(ProvisionDatabase());
  EXPECT_TRUE(boxes_.Requests().empty());
  fs::path expected = unicodeAppData / "TorvaneManutenzione" / "dati" / "dati.mdb";
  EXPECT_EQ(fs::path(DatabasePath), expected);
  EXPECT_TRUE(fs::exists(expected));
  EXPECT_FALSE(fs::exists(current_ / "dati.mdb"));
}

TEST_F(Startup, FallsBackToTheCurrentFolderWhenTheUserFolderCannotBeMade) {
  // A file where the program's folder should be: the folders cannot be created.
  WriteFileBytes(appData_ / "TorvaneManutenzione", "not a folder");
  fs::copy_file(ShippedTemplate(), current_ / "filedat");
  EXPECT_TRUE(ProvisionDatabase());
  EXPECT_EQ(DatabasePath, L"dati.mdb");
  EXPECT_EQ(ReadFileBytes(current_ / "dati.mdb"), ReadFileBytes(ShippedTemplate()));
}

TEST_F(Startup, PrepareUserDataFolderEndsInABackslash) {
  std::wstring folder = PrepareUserDataFolder("TorvaneManutenzione");
  EXPECT_EQ(fs::path(folder), appData_ / "TorvaneManutenzione" / "dati" / "");
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(PrepareUserDataFolder("TorvaneManutenzione"), folder);  // second call: existing
}

namespace {

// This process's visible top-level window with the caption, or null. Other processes
// (a program started by another test) may show windows with the same caption.
HWND OwnWindow(const std::wstring& caption) {
  for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, caption.c_str()); window;
       window = FindWindowExW(nullptr, window, nullptr, caption.c_str())) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId() && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Presses a button of this process's window with the caption once it shows; false when
// it never did.
bool PressWhenShown(const std::wstring& caption, const std::wstring& button) {
  for (int attempt = 0; attempt < 400; ++attempt) {
    if (HWND window = OwnWindow(caption)) {
      if (HWND target = FindWindowExW(window, nullptr, L"Button", button.c_str())) {
        PostMessageW(target, BM_CLICK, 0, 0);
        return true;
      }
    }
    Sleep(25);
  }
  return false;
}

// Closes this process's window with the caption (as its close box does) once it is
// usable; false when it never was.
bool CloseWhenEnabled(const std::wstring& caption) {
  for (int attempt = 0; attempt < 400; ++attempt) {
    HWND window = OwnWindow(caption);
    if (window && IsWindowEnabled(window)) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      return true;
    }
    Sleep(25);
  }
  return false;
}

}  // namespace

TEST_F(Startup, DecliningTheTermsEndsTheRunWithoutTheExitQuestion) {
  ToolkitStateScope toolkit;
  fs::copy_file(ShippedTemplate(), current_ / "filedat");
  LoopDeadline deadline(std::chrono::seconds(20));
  // Another thread plays the user while the program's loop runs on this one.
  auto decline = std::async(std::launch::async, PressWhenShown, L"Leggimi", L"Non Accetto");
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr)), 0);
  EXPECT_TRUE(decline.get());
  EXPECT_FALSE(deadline.Fired());
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_TRUE(fs::exists(ExpectedDatabase()));
}

TEST_F(Startup, AcceptingTheTermsRunsUntilTheUserConfirmsTheExit) {
  ToolkitStateScope toolkit;
  fs::copy_file(ShippedTemplate(), current_ / "filedat");
  LoopDeadline deadline(std::chrono::seconds(20));
  boxes_.QueueAnswer(IDYES);
  // The main window is usable for a moment before the terms show: the close waits for
  // the terms to be answered first.
  auto user = std::async(std::launch::async, [] {
    return PressWhenShown(L"Leggimi", L"Accetto") &&
           CloseWhenEnabled(LumoUtility::WidenText(kProgramCaption));
  });
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr)), 0);
  EXPECT_TRUE(user.get());
  EXPECT_FALSE(deadline.Fired());
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, "Vuoi realmente uscire?");
  EXPECT_EQ(boxes_.Requests()[0].caption, "Uscita");
}
