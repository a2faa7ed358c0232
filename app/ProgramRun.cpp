#include "app/ProgramRun.h"

#include <memory>
#include <string>

#include "app/BackupRestore.h"
#include "app/Startup.h"
#include "data/ProgramStore.h"
#include "screens/FormGrid.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/MessageLoop.h"

int RunProgram(HINSTANCE instance) {
  if (!ProvisionDatabase()) return 1;
  ProgramStoreMessage = [](const std::string& text, const std::string& caption) {
    LumoUtility::ShowMessage(text, caption);
  };
  auto mainForm = std::make_unique<MyApp::FormGrid>(
      instance, kProgramCaption,
      MyApp::FormGrid::HousekeepingCommands{BackupDatabase, RestoreDatabase});
  // Without a window no quit message would ever come: the loop would never end.
  if (!mainForm->window) {
    LumoUtility::ShowError("Impossibile aprire la finestra principale del programma.", "Errore");
    return 1;
  }
  LumoUtility::RunMessageLoop(mainForm.get());
  mainForm.reset();
  return 0;
}
