// The real program against damaged database files: backups that are not a database are
// refused by the restore and the database stays as it was; a damaged database in the
// user's folder gives an error in every screen, never a crash or a hang, and restoring a
// good backup brings the program back.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/ProgramRuns.h"
#include "tests/support/ChooserVisibleFolder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

// The byte that holds the Jet version in an Access file's header; 0 is Jet 3 (Access 97).
constexpr std::size_t kJetVersionOffset = 0x14;

std::string RandomBytes(std::size_t size) {
  std::mt19937 generator(1207);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// The ways a file can fail to be the program's database, made from a good one.
std::vector<std::pair<std::string, std::string>> DamagedFiles(const std::string& good) {
  std::string access97 = good;
  access97[kJetVersionOffset] = 0;
  return {{"random bytes", RandomBytes(good.size())},
          {"text", std::string("Questo non è un database.\r\n") + std::string(3000, 'x')},
          {"empty", ""},
          {"cut inside a page", good.substr(0, 6000)},
          {"cut after three pages", good.substr(0, 3 * 4096)},
          {"Access 97", access97}};
}

class DamagedDatabaseRun : public ProgramRuns {
 protected:
  DamagedDatabaseRun() : ProgramRuns("damaged-run") {}

  // "Restore" from the backup folder, up to the first box; answers that box's text.
  std::wstring Restore(HWND main, int answerToQuestion) {
    ui->ChooseMenu(main, {L"&Opzioni", L"&Restore"});
    ui->ChooseFolder(L"Seleziona dove si trova il backup", stick.Path().wstring());
    if (answerToQuestion == 0) return ui->AnswerMessageBox(L"Errore", IDOK);
    ui->AnswerMessageBox(L"Attenzione", answerToQuestion);
    return ui->AnswerMessageBox(L"Restore", IDOK);
  }

  // The backup's folder, picked in the folder chooser, which may not reach the one above.
  ChooserVisibleFolder stick{"chiavetta"};
};

}  // namespace

TEST_F(DamagedDatabaseRun, ARestoreRefusesEveryBackupThatIsNotADatabase) {
  HWND main = Start();
  const std::string good = ReadFileBytes(database);
  for (const auto& [kind, bytes] : DamagedFiles(good)) {
    SCOPED_TRACE(kind);
    WriteFileBytes(stick / "TorvaneBackup.dat", bytes);
    EXPECT_EQ(Restore(main, 0), L"Errore durante il ripristino");
    EXPECT_EQ(ReadFileBytes(database), good);
    EXPECT_FALSE(fs::exists(database.wstring() + L".000"));
  }
  Exit(main);
}

TEST_F(DamagedDatabaseRun, EveryScreenReportsADamagedDatabaseUntilAGoodBackupReturns) {
  // A first run makes the database; its backup is the good copy to come back to.
  HWND main = Start();
  const std::string good = ReadFileBytes(database);
  WriteFileBytes(stick / "TorvaneBackup.dat", good);
  Exit(main);

  for (const auto& [kind, bytes] : DamagedFiles(good)) {
    SCOPED_TRACE(kind);
    WriteFileBytes(database, bytes);
    main = Start();

    ui->ClickToolbarItem(main, L"Apri");
    EXPECT_EQ(ui->AnswerMessageBox(L"Errore", IDOK), L"Errore durante la lettura delle targhe.");

    ui->ClickToolbarItem(main, L"Nuovo");
    HWND editor = ui->WaitForForm(L"Nuovo Veicolo");
    ui->ReplaceText(ui->ControlBeside(editor, L"Targa:", L"Edit"), L"DANNO01");
    ui->ReplaceText(ui->ControlBeside(editor, L"Km:", L"Edit"), L"1000");
    ui->ClickButton(editor, L"OK");
    ui->WaitForFormGone(L"Nuovo Veicolo");
    EXPECT_EQ(ui->AnswerMessageBox(L"Errore", IDOK)
                  .rfind(L"Errore durante l'inserimento del veicolo [", 0),
              0u);
    ui->WaitForTitle(main, kMainTitle);

    ui->ClickToolbarItem(main, L"Opzioni");
    ui->AnswerMessageBox(L"Errore", IDOK);
    HWND catalogue = ui->WaitForForm(L"Gestione Anagrafica Interventi");
    EXPECT_TRUE(ui->ListItems(ui->Control(catalogue, L"ListBox")).empty());
    ui->ClickButton(catalogue, L"Chiudi");
    ui->WaitForFormGone(L"Gestione Anagrafica Interventi");
    EXPECT_EQ(ReadFileBytes(database), bytes) << "a failed action changed the file";

    // The good backup comes back; the damaged file is kept beside it as it was.
    EXPECT_EQ(Restore(main, IDYES), L"Ripristino del backup effettuato correttamente.");
    EXPECT_EQ(ReadFileBytes(database), good);
    EXPECT_EQ(ReadFileBytes(database.wstring() + L".000"), bytes);
    fs::remove(database.wstring() + L".000");
    ui->ClickToolbarItem(main, L"Apri");
    EXPECT_EQ(ui->AnswerMessageBox(L"Selezione", IDNO),
              L"Non sono presenti veicoli in archivio. Si desidera inserire un nuovo veicolo?");
    Exit(main);
  }
}
