#include "data/ProgramStore.h"

#include "app/DatabasePath.h"
#include "data/AdoEngine.h"
#include "data/EngineChoice.h"
#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "toolkit/MessageBoxes.h"

std::unique_ptr<DbEngine> MakeProgramEngine() {
  return MakeChoosingEngine(MakeJetFileEngine(),
                            [] { return JetProviderRegistered() ? MakeAdoEngine() : nullptr; });
}

MaintenanceStore::MaintenanceStore()
    : MaintenanceStore(MakeProgramEngine(), DatabasePath,
                       [](const std::string& text, const std::string& caption) {
                         LumoUtility::ShowMessage(text, caption);
                       }) {}
