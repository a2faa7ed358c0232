#pragma once
#include <string>
#include <vector>

#include "data/jet/PageSource.h"

// A structural check of a whole database, for tests and for diagnosing any file.
namespace Jet {

struct ValidationReport {
  std::vector<std::string> problems;  // inconsistencies found
  std::vector<std::string> notes;     // what could not be checked, and why
  bool Ok() const { return problems.empty(); }
};

// Checks, for every table in the catalogue:
// - the catalogue row names a readable table definition whose free-space field matches
//   its length, and names are unique;
// - every page the table uses (definition, usage-map rows, data, index and long-value
//   pages) is marked in use in the global map, and the free-space map lists only owned pages;
// - Memo/OLE values stored outside their row start on pages their column's map lists;
// - each data page's free-space field equals what its rows leave, and its rows decode;
// - the stored row count equals the live rows (user tables only: Access leaves stale
//   counts in system tables), and no AutoNumber value exceeds the stored last one;
// - each index whose keys the engine can build holds exactly the live rows' entries in
//   key order, its pages are in its usage map, and its distinct-key counter is not below
//   the keys (user tables; Access never lowers it).
ValidationReport ValidateDatabase(const PageSource& source);

}  // namespace Jet
