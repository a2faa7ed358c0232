#pragma once
#include <memory>

#include "data/DbEngine.h"

// The engine the program uses: ADO with the Jet provider where Windows has it (the
// built-in engine taking over for a database ADO cannot open), the built-in engine
// everywhere else (Wine included).
std::unique_ptr<DbEngine> MakeProgramEngine();
