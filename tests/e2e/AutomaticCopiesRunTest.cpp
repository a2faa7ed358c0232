// The automatic copies through the real program: every run that changes data leaves a
// copy at its end, the ten newest are kept, a run that changes nothing leaves none, and
// a copy comes back through "Ripristina copia automatica...".
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "data/DatabaseFile.h"
#include "tests/e2e/ProgramRuns.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

// "Ripristina copia automatica...", below "&Restore": it has no access key.
constexpr int kRestoreCopyPosition = 3;

class AutomaticCopiesRun : public ProgramRuns {
 protected:
  AutomaticCopiesRun() : ProgramRuns("automatic-copies-run") {}

  void AddVehicle(HWND main, const std::wstring& plate) {
    ui->ClickToolbarItem(main, L"Nuovo");
    HWND editor = ui->WaitForForm(L"Nuovo Veicolo");
    ui->ReplaceText(ui->ControlBeside(editor, L"Targa:", L"Edit"), plate);
    ui->ClickButton(editor, L"OK");
    ui->WaitForTitle(main, L"[Targa: " + plate + L"] - " + kMainTitle);
  }

  // The files of the copies' folder, oldest first.
  std::vector<fs::path> Copies() {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(copies)) {
      files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  fs::path copies = database.parent_path() / "copie";
};

TEST_F(AutomaticCopiesRun, TwelveRunsLeaveTheTenNewestCopiesAndOneComesBack) {
  HWND main = Start();
  ui->ChooseMenuItemAt(main, L"&Opzioni", kRestoreCopyPosition);
  EXPECT_EQ(ui->AnswerMessageBox(L"Restore", IDOK),
            L"Nessuna copia automatica trovata. Impossibile procedere con il restore.");
  AddVehicle(main, L"AUTO0");
  Exit(main);
  for (int run = 1; run < 12; ++run) {
    main = Start();
    AddVehicle(main, L"AUTO" + std::to_wstring(run));
    Exit(main);
  }
  std::vector<fs::path> kept = Copies();
  ASSERT_EQ(kept.size(), 10u);
  const std::wregex copyName(L"dati-\\d{8}-\\d{6}\\.mdb");
  for (const fs::path& copy : kept) {
    EXPECT_TRUE(std::regex_match(copy.filename().wstring(), copyName)) << copy;
    const std::string bytes = ReadFileBytes(copy);
    EXPECT_TRUE(IsProgramDatabaseImage(std::vector<std::uint8_t>(bytes.begin(), bytes.end())))
        << copy;
  }
  EXPECT_EQ(ReadFileBytes(kept.back()), ReadFileBytes(database));

  // Nothing changed, nothing copied.
  Exit(Start());
  EXPECT_EQ(Copies(), kept);

  // The copy before the last one (without AUTO11) replaces the database.
  const fs::path chosen = kept[kept.size() - 2];
  const std::string before = ReadFileBytes(database);
  main = Start();
  ui->ChooseMenuItemAt(main, L"&Opzioni", kRestoreCopyPosition);
  HWND chooser = ui->WaitForForm(L"Copie automatiche");
  HWND list = ui->Control(chooser, L"ListBox");
  const std::vector<std::wstring> lines = ui->ListItems(list);
  ASSERT_EQ(lines.size(), 10u);
  // Newest first: the second line is the chosen copy's.
  const std::wstring name = chosen.filename().wstring();
  EXPECT_EQ(lines[1].substr(0, 20), name.substr(11, 2) + L"/" + name.substr(9, 2) + L"/" +
                                        name.substr(5, 4) + L"  " + name.substr(14, 2) + L":" +
                                        name.substr(16, 2) + L":" + name.substr(18, 2));
  ui->ClickButton(chooser, L"Ripristina");
  EXPECT_EQ(ui->AnswerMessageBox(L"Errore", IDOK),
            L"E' necessario selezionare la copia da ripristinare.");
  ui->ChooseListItem(list, lines[1], true);
  ui->WaitForFormGone(L"Copie automatiche");
  EXPECT_EQ(ui->AnswerMessageBox(L"Attenzione", IDYES),
            L"Continuando come richiesto il database verr\u00E0 ripristinato. Si desidera "
            L"realmente procedere?");
  EXPECT_EQ(ui->AnswerMessageBox(L"Restore", IDOK),
            L"Ripristino del backup effettuato correttamente.");
  EXPECT_EQ(ReadFileBytes(database), ReadFileBytes(chosen));
  EXPECT_EQ(ReadFileBytes(fs::path(database.wstring() + L".000")), before);

  // A restore is a change: its run leaves a copy of what came back.
  Exit(main);
  const std::vector<fs::path> after = Copies();
  ASSERT_EQ(after.size(), 10u);
  EXPECT_EQ(after[8], kept.back());
  EXPECT_EQ(ReadFileBytes(after.back()), ReadFileBytes(chosen));
}

}  // namespace
