#pragma once
#include <memory>

#include "data/DbEngine.h"
#include "data/MaintenanceStore.h"

// The engine the program uses: the built-in engine on every system, with ADO and the Jet
// provider, where registered, for what the built-in engine does not support
// (EngineChoice.h).
std::unique_ptr<DbEngine> MakeProgramEngine();

// How the program's stores (`MaintenanceStore store;`) show their one message. The
// program sets it to its message box before the first window opens; unset, nothing is
// shown (the failure still reaches ErrorFlag/ErrorText).
extern MaintenanceStore::MessageSink ProgramStoreMessage;
