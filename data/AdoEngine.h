#pragma once
#include <memory>
#include <string>

#include "data/DbEngine.h"

// The database through ADO and the Jet OLE DB provider, where Windows has it.
// Initialises COM for the thread while it lives.
std::unique_ptr<DbEngine> MakeAdoEngine();

// Whether the Jet OLE DB 4.0 provider is registered on this machine.
bool JetProviderRegistered();
