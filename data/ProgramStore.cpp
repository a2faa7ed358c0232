#include "data/ProgramStore.h"

#include "data/AdoEngine.h"
#include "data/DatabasePath.h"
#include "data/EngineChoice.h"
#include "data/JetFileEngine.h"

MaintenanceStore::MessageSink ProgramStoreMessage;

std::unique_ptr<DbEngine> MakeProgramEngine() {
  return MakeChoosingEngine(MakeJetFileEngine(),
                            [] { return JetProviderRegistered() ? MakeAdoEngine() : nullptr; });
}

MaintenanceStore::MaintenanceStore()
    : MaintenanceStore(MakeProgramEngine(), DatabasePath, ProgramStoreMessage) {}
