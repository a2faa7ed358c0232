#pragma once
#include <memory>
#include <string>

#include "data/DbEngine.h"
#include "data/jet/JetError.h"

// The built-in engine behind DbConnection: opens the Access file named by the connection
// string's "Data Source" and runs the program's SQL on it.
std::unique_ptr<DbEngine> MakeJetFileEngine();

// What the user is told when the engine refuses something, in Italian.
std::string ItalianMessage(const Jet::JetError& error);
