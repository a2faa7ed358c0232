#pragma once
#include <memory>

#include "data/DbEngine.h"

// Opens each database with the preferred engine and, when that cannot open it, with the
// fallback: a machine whose provider fails is never left without a working store.
std::unique_ptr<DbEngine> MakeFallbackEngine(std::unique_ptr<DbEngine> preferred,
                                             std::unique_ptr<DbEngine> fallback);
