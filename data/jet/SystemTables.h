#pragma once
#include <cstdint>

#include "data/jet/TableDefinitionWriter.h"

// Definitions of the system tables of a new database: MSysObjects (TDEF page 2),
// MSysACEs (3), MSysQueries (4), MSysRelationships (5). Their usage maps are rows of
// page 6 and their index roots pages 7-13.
namespace Jet {

TableLayout MSysObjectsLayout();
TableLayout MSysACEsLayout();
TableLayout MSysQueriesLayout();
TableLayout MSysRelationshipsLayout();

}  // namespace Jet
