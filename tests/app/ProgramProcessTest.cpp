// The real program started as its own process, as a user would start it.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "tests/e2e/UiDriver.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;

namespace {

struct ProcessRun {
  PROCESS_INFORMATION info{};
  bool started = false;
};

ProcessRun StartProgram(const fs::path& workingFolder) {
  ProcessRun run;
  std::wstring program = (ExecutableFolder() / "TorvaneManutenzione.exe").wstring();
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  run.started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, workingFolder.wstring().c_str(), &startup, &run.info);
  return run;
}

DWORD WaitForExit(const ProcessRun& run) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(run.info.hProcess, 30000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(run.info.hProcess, &code);
  } else {
    TerminateProcess(run.info.hProcess, 99);
  }
  CloseHandle(run.info.hThread);
  CloseHandle(run.info.hProcess);
  return code;
}

class ProgramProcess : public ::testing::Test {
 protected:
  ProgramProcess() : appData_(root_ / "AppData") {
    fs::create_directories(appData_);
    fs::create_directories(root_ / "lavoro");
  }
  TemporaryDirectory root_{"process"};
  fs::path appData_;
  LocalAppDataRedirect redirect_{appData_};
};

}  // namespace

TEST_F(ProgramProcess, WithoutTheTemplateShowsTheErrorAndExitsWithOne) {
  ProcessRun run = StartProgram(root_ / "lavoro");
  ASSERT_TRUE(run.started);
  auto box = AnswerMessageBoxAsync(L"Errore", IDOK, run.info.dwProcessId);
  ScreenMessageBox seen = box.get();
  EXPECT_EQ(WaitForExit(run), 1u);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text,
            L"File dat non trovato.\nSe esegui il programma da un archivio zip dovrai "
            L"decomprimere tutto il contenuto in una cartella ed eseguire il programma dalla "
            L"cartella");
}

TEST_F(ProgramProcess, ProvisionsTheDatabaseFromTheTemplateFolder) {
  fs::copy_file(ExecutableFolder() / "filedat", root_ / "lavoro" / "filedat");
  {
    // The main window comes up over the new database; declining the terms ends the run.
    e2e::TargetProcess program(ExecutableFolder() / "TorvaneManutenzione.exe", root_ / "lavoro");
    e2e::UiDriver ui(program);
    ui.ClickButton(ui.WaitForForm(L"Leggimi"), L"Non Accetto");
    EXPECT_EQ(program.WaitForExit(std::chrono::seconds(10)), 0u);
  }
  // The template's tables and catalogue, with the one entry the main window adds to a
  // catalogue of 25, and no vehicle.
  DatabasePath = (appData_ / "TorvaneManutenzione" / "dati" / "dati.mdb").wstring();
  MaintenanceStore store;
  EXPECT_EQ(store.CountInterventionTypes(), 26);
  std::vector<std::string> plates;
  EXPECT_TRUE(store.ListPlates(plates));
  EXPECT_TRUE(plates.empty());
  DatabasePath.clear();
}
