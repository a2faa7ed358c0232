#pragma once
#include <cstdint>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/PageStore.h"
#include "data/jet/TableWriter.h"

namespace Jet {

// Adds a user table the way Access lays one out: columns numbered in order, fixed
// offsets packed in column order (Yes/No in the null mask), variable slots in column
// order, a usage-map page next to the TDEF (owned, free space, the Memo columns' pairs,
// one row per index), an empty leaf per index, a primary key named "PrimaryKey". The
// catalogue row and the access rows (one per SID the Tables container grants to, as
// Jackcess does) go in through `objects` and `aces`, the writers of MSysObjects and
// MSysACEs. Returns the TDEF page. The caller checks that the name is free.
std::uint32_t CreateTable(PageStore& store, TableWriter& objects, TableWriter& aces,
                          const NewTable& table, double creationDate);

}  // namespace Jet
