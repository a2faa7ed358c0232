#pragma once
#include <string>

#include "data/sql/SqlAst.h"

// A compact, unambiguous rendering of a parsed statement, for tests:
// (= (col V ID) (int 1)), (select ...), names upper-cased.
std::string AstText(const Sql::Statement& statement);
