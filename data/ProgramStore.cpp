#include "data/ProgramStore.h"

#include "app/DatabasePath.h"
#include "data/AdoEngine.h"
#include "data/FallbackEngine.h"
#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "toolkit/MessageBoxes.h"

std::unique_ptr<DbEngine> MakeProgramEngine() {
  if (!JetProviderRegistered()) return MakeJetFileEngine();
  return MakeFallbackEngine(MakeAdoEngine(), MakeJetFileEngine());
}

MaintenanceStore::MaintenanceStore()
    : MaintenanceStore(MakeProgramEngine(), DatabasePath,
                       [](const std::string& text, const std::string& caption) {
                         LumoUtility::ShowMessage(text, caption);
                       }) {}
