#include "app/ProgramRun.h"

#include <memory>
#include <string>
#include <vector>

#include "app/AutomaticCopies.h"
#include "app/BackupRestore.h"
#include "app/Startup.h"
#include "data/CommittedWrites.h"
#include "data/DatabasePath.h"
#include "data/ProgramStore.h"
#include "screens/FormCopie.h"
#include "screens/FormGrid.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/UserLocale.h"

namespace {

std::vector<MyApp::CopyChoice> AutomaticCopyChoices() {
  const std::locale numbers = LumoUtility::UserDefaultLocale();
  std::vector<MyApp::CopyChoice> choices;
  for (const AutomaticCopy& copy : ListAutomaticCopies(DatabasePath)) {
    choices.push_back({AutomaticCopyLine(copy.time, copy.bytes, numbers), copy.path});
  }
  return choices;
}

}  // namespace

int RunProgram(HINSTANCE instance) {
  if (!ProvisionDatabase()) return 1;
  ProgramStoreMessage = [](const std::string& text, const std::string& caption) {
    LumoUtility::ShowMessage(text, caption);
  };
  // The months table, which older files and old backups lack, is there before the main
  // window reads the catalogue; without it the program still runs, with no months.
  MaintenanceStore().EnsureMonthsTable();
  auto mainForm = std::make_unique<MyApp::FormGrid>(
      instance, kProgramCaption,
      MyApp::FormGrid::HousekeepingCommands{BackupDatabase, RestoreDatabase, AutomaticCopyChoices,
                                            RestoreAutomaticCopy});
  // Without a window no quit message would ever come: the loop would never end.
  if (!mainForm->window) {
    LumoUtility::ShowError("Impossibile aprire la finestra principale del programma.", "Errore");
    return 1;
  }
  LumoUtility::RunMessageLoop(mainForm.get());
  mainForm.reset();
  // With the window gone the user waits for nothing; a copy that cannot be made is left
  // unsaid, and the database is only read.
  if (CommittedWrites() > 0) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    WriteAutomaticCopy(DatabasePath, now);
  }
  return 0;
}
