#pragma once
#include <functional>
#include <memory>

#include "data/DbEngine.h"
#include "data/jet/JetError.h"

// Which engine serves the database. The built-in engine always comes first: it is what
// the tests run, and it keeps the rollback journal, the lock between running copies and
// the refusal of damaged files. ADO with the Jet provider serves only what the built-in
// engine refuses as beyond what it supports (a format it cannot read, an index it cannot
// maintain), and only where the provider is registered. A damaged, missing, locked, busy
// or read-only file gets the built-in engine's own answer, never ADO.
bool UseAdoAfterRefusal(Jet::JetErrorKind refusal, bool providerRegistered);

// The ADO engine where the provider is registered, nothing elsewhere; called only when
// the built-in engine has refused something.
using AdoEngineSource = std::function<std::unique_ptr<DbEngine>()>;

// The built-in engine, with ADO from `ado` taking over a database it cannot open, or a
// statement it cannot write, as UseAdoAfterRefusal decides.
std::unique_ptr<DbEngine> MakeChoosingEngine(std::unique_ptr<DbEngine> builtIn,
                                             AdoEngineSource ado);
