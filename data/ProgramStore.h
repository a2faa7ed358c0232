#pragma once
#include <memory>

#include "data/DbEngine.h"

// The engine the program uses: the built-in engine on every system, with ADO and the Jet
// provider, where registered, for what the built-in engine does not support
// (EngineChoice.h).
std::unique_ptr<DbEngine> MakeProgramEngine();
