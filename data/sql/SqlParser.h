#pragma once
#include <string>

#include "data/sql/SqlAst.h"

namespace Sql {

// Parses one Jet SQL statement (SELECT with joins, subqueries, UNION and ORDER BY;
// INSERT ... VALUES; UPDATE; DELETE). Throws SqlError with an Italian message naming
// where the statement went wrong.
Statement ParseStatement(const std::string& statement);

}  // namespace Sql
