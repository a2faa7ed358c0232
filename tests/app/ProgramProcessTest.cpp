// The real program started as its own process, as a user would start it.
#include <windows.h>

#include <gtest/gtest.h>

#include "data/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "tests/e2e/UiDriver.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kMainCaption[] =
    L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";

class ProgramProcess : public ::testing::Test {
 protected:
  ProgramProcess() : appData_(root_ / "AppData"), work_(root_ / "lavoro") {
    fs::create_directories(appData_);
    fs::create_directories(work_);
  }

  fs::path Program() const { return ExecutableFolder() / "TorvaneManutenzione.exe"; }

  // The template's tables and catalogue, with the one entry the main window adds to a
  // catalogue of 25, and no vehicle.
  void ExpectProvisionedDatabase() {
    DatabasePath = (appData_ / "TorvaneManutenzione" / "dati" / "dati.mdb").wstring();
    MaintenanceStore store;
    EXPECT_EQ(store.CountInterventionTypes(), 26);
    std::vector<std::string> plates;
    EXPECT_TRUE(store.ListPlates(plates));
    EXPECT_TRUE(plates.empty());
    DatabasePath.clear();
  }

  TemporaryDirectory root_{"process"};
  fs::path appData_;
  fs::path work_;
  LocalAppDataRedirect redirect_{appData_};
};

}  // namespace

TEST_F(ProgramProcess, WithoutTheTemplateShowsTheErrorAndExitsWithOne) {
  e2e::TargetProcess program(Program(), work_);
  auto box = AnswerMessageBoxAsync(L"Errore", IDOK, program.Id());
  ScreenMessageBox seen = box.get();
  EXPECT_EQ(program.WaitForExit(std::chrono::seconds(30)), 1u);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text,
            L"File dat non trovato.\nSe esegui il programma da un archivio zip dovrai "
            L"decomprimere tutto il contenuto in una cartella ed eseguire il programma dalla "
            L"cartella");
  EXPECT_FALSE(fs::exists(appData_ / "TorvaneManutenzione" / "dati" / "dati.mdb"));
}

TEST_F(ProgramProcess, ShowsTheTermsOverTheMainWindowAndDecliningEndsWithZero) {
  fs::copy_file(ExecutableFolder() / "filedat", work_ / "filedat");
  {
    e2e::TargetProcess program(Program(), work_);
    e2e::UiDriver ui(program);
    HWND terms = ui.WaitForForm(L"Leggimi");
    HWND main = ui.WaitForForm(kMainCaption, false);
    // The terms window shows before it is placed and the main window disabled.
    e2e::WaitUntil([&] { return !IsWindowEnabled(main); }, program.timeout,
                   "the main window to be disabled under the terms");
    RECT mainBounds{}, termsBounds{};
    GetWindowRect(main, &mainBounds);
    GetWindowRect(terms, &termsBounds);
    EXPECT_NEAR(termsBounds.left + termsBounds.right, mainBounds.left + mainBounds.right, 2);
    EXPECT_NEAR(termsBounds.top + termsBounds.bottom, mainBounds.top + mainBounds.bottom, 2);
    EXPECT_EQ(ui.Text(ui.Control(terms, L"Static")), L"Condizioni di utilizzo:");
    EXPECT_TRUE(ui.Button(terms, L"Accetto"));

    ui.ClickButton(terms, L"Non Accetto");
    // No exit question: the program ends at once.
    EXPECT_EQ(program.WaitForExit(std::chrono::seconds(10)), 0u);
  }
  ExpectProvisionedDatabase();
}

TEST_F(ProgramProcess, AcceptingLeavesTheMainWindowWhoseCloseAsksBeforeEndingWithZero) {
  fs::copy_file(ExecutableFolder() / "filedat", work_ / "filedat");
  {
    e2e::TargetProcess program(Program(), work_);
    e2e::UiDriver ui(program);
    ui.ClickButton(ui.WaitForForm(L"Leggimi"), L"Accetto");
    ui.WaitForFormGone(L"Leggimi");
    HWND main = ui.WaitForForm(kMainCaption);

    ui.CloseWindow(main);
    e2e::MessageBoxSeen question = ui.WaitForMessageBox(L"Uscita");
    EXPECT_EQ(question.text, L"Vuoi realmente uscire?");
    ui.Answer(question, IDNO);
    // "No" keeps the program running with its window, usable again.
    ui.WaitForForm(kMainCaption);
    EXPECT_TRUE(program.Running());

    ui.CloseWindow(main);
    ui.Answer(ui.WaitForMessageBox(L"Uscita"), IDYES);
    EXPECT_EQ(program.WaitForExit(std::chrono::seconds(10)), 0u);
  }
  ExpectProvisionedDatabase();
}
