#include "tests/e2e/ProgramRuns.h"

namespace fs = std::filesystem;

namespace e2e {

const std::wstring kMainTitle = L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";

ProgramRuns::ProgramRuns(const fs::path& nameHint)
    : root(nameHint),
      database(root / "AppData" / "TorvaneManutenzione" / "dati" / "dati.mdb"),
      redirect(root / "AppData") {
  fs::create_directories(root / "AppData");
  fs::create_directories(root / "lavoro");
  fs::copy_file(ExecutableFolder() / "filedat", root / "lavoro" / "filedat");
}

HWND ProgramRuns::Start() {
  // The driver works on the process: it goes first.
  ui.reset();
  program = std::make_unique<TargetProcess>(ExecutableFolder() / "TorvaneManutenzione.exe",
                                            root / "lavoro");
  ui = std::make_unique<UiDriver>(*program);
  ui->ClickButton(ui->WaitForForm(L"Leggimi"), L"Accetto");
  ui->WaitForFormGone(L"Leggimi");
  return ui->WaitForForm(kMainTitle);
}

void ProgramRuns::Exit(HWND main) {
  ui->PressKey(main, VK_ESCAPE);
  EXPECT_EQ(ui->AnswerMessageBox(L"Uscita", IDYES), L"Vuoi realmente uscire?");
  EXPECT_EQ(program->WaitForExit(std::chrono::seconds(10)), 0u);
}

}  // namespace e2e
