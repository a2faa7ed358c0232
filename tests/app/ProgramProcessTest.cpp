// The real program started as its own process, as a user would start it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "data/jet/Database.h"
#include "tests/support/StartedProgram.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kMainCaption[] =
    L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";
constexpr wchar_t kTermsCaption[] = L"Leggimi";

// Catalogue entries of the database: the template's 25, and "Candela" that the main window
// adds when it is built on a catalogue of exactly 25.
std::size_t CatalogueEntries(const fs::path& database) {
  Jet::Database opened = Jet::Database::OpenFile(database);
  return Jet::CountRows(opened.Pages(), opened.ReadTable(u"INTERVENTI"));
}

bool WaitUntil(bool (*condition)(HWND), HWND window) {
  for (int i = 0; i < 500; ++i) {
    if (condition(window)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool Disabled(HWND window) { return IsWindowEnabled(window) == FALSE; }
bool Gone(HWND window) { return IsWindow(window) == FALSE; }

class ProgramProcess : public ::testing::Test {
 protected:
  ProgramProcess() : appData_(root_ / "AppData"), work_(root_ / "lavoro") {
    fs::create_directories(appData_);
    fs::create_directories(work_);
  }

  // Starts the program from a folder holding the template and waits for its two windows:
  // the main window, disabled, and the terms over it. The terms window shows before it is
  // placed and the main window disabled, so the wait goes on until the main window is.
  void StartWithTemplate() {
    fs::copy_file(ExecutableFolder() / "filedat", work_ / "filedat");
    program_ = std::make_unique<StartedProgram>(ExecutableFolder() / "TorvaneManutenzione.exe",
                                                work_);
    ASSERT_TRUE(program_->Started());
    terms_ = WaitForProcessWindow(program_->Id(), kTermsCaption);
    ASSERT_TRUE(terms_) << "no terms window";
    main_ = WaitForProcessWindow(program_->Id(), kMainCaption);
    ASSERT_TRUE(main_) << "no main window";
    ASSERT_TRUE(WaitUntil(Disabled, main_)) << "the main window stays enabled under the terms";
  }

  fs::path Database() const { return appData_ / "TorvaneManutenzione" / "dati" / "dati.mdb"; }

  TemporaryDirectory root_{"process"};
  fs::path appData_;
  fs::path work_;
  LocalAppDataRedirect redirect_{appData_};
  std::unique_ptr<StartedProgram> program_;
  HWND terms_ = nullptr;
  HWND main_ = nullptr;
};

}  // namespace

TEST_F(ProgramProcess, WithoutTheTemplateShowsTheErrorAndExitsWithOne) {
  StartedProgram program(ExecutableFolder() / "TorvaneManutenzione.exe", work_);
  ASSERT_TRUE(program.Started());
  auto box = AnswerMessageBoxAsync(L"Errore", IDOK, program.Id());
  ScreenMessageBox seen = box.get();
  EXPECT_EQ(program.WaitForExit(), 1u);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text,
            L"File dat non trovato.\nSe esegui il programma da un archivio zip dovrai "
            L"decomprimere tutto il contenuto in una cartella ed eseguire il programma dalla "
            L"cartella");
  EXPECT_FALSE(fs::exists(Database()));
}

TEST_F(ProgramProcess, ShowsTheTermsOverTheMainWindowAndDecliningEndsWithZero) {
  ASSERT_NO_FATAL_FAILURE(StartWithTemplate());
  // The database is there before any window: provisioning comes first.
  EXPECT_TRUE(fs::exists(Database()));
  // Centred over the main window (the forms have no native owner).
  RECT mainBounds{}, termsBounds{};
  GetWindowRect(main_, &mainBounds);
  GetWindowRect(terms_, &termsBounds);
  EXPECT_NEAR(termsBounds.left + termsBounds.right, mainBounds.left + mainBounds.right, 2);
  EXPECT_NEAR(termsBounds.top + termsBounds.bottom, mainBounds.top + mainBounds.bottom, 2);
  EXPECT_TRUE(FindChildWithText(terms_, L"Condizioni di utilizzo:"));
  EXPECT_TRUE(FindChildWithText(terms_, L"Accetto"));

  ASSERT_TRUE(PressButton(terms_, L"Non Accetto"));
  // No exit question: the program ends at once.
  EXPECT_EQ(program_->WaitForExit(std::chrono::seconds(10)), 0u);
  EXPECT_EQ(CatalogueEntries(Database()), 26u);
}

TEST_F(ProgramProcess, AcceptingLeavesTheMainWindowWhoseCloseAsksBeforeEndingWithZero) {
  ASSERT_NO_FATAL_FAILURE(StartWithTemplate());
  ASSERT_TRUE(PressButton(terms_, L"Accetto"));
  ASSERT_TRUE(WaitUntil(Gone, terms_));
  ASSERT_TRUE(WaitUntil(Enabled, main_));

  auto declined = AnswerMessageBoxAsync(L"Uscita", IDNO, program_->Id());
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ScreenMessageBox question = declined.get();
  ASSERT_TRUE(question.found);
  EXPECT_EQ(question.text, L"Vuoi realmente uscire?");
  // "No" keeps the program running with its window.
  EXPECT_EQ(program_->WaitForExit(std::chrono::milliseconds(300)), STILL_ACTIVE);
  EXPECT_TRUE(IsWindow(main_));

  auto confirmed = AnswerMessageBoxAsync(L"Uscita", IDYES, program_->Id());
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(confirmed.get().found);
  EXPECT_EQ(program_->WaitForExit(), 0u);
  EXPECT_EQ(CatalogueEntries(Database()), 26u);
}
