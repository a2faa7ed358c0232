#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/jet/Value.h"

namespace e2e {

// A row of a table in the database a run left behind, by column name.
using StoredRow = std::map<std::u16string, Jet::Value>;

// Every row of the table, read with the engine in the table's order.
std::vector<StoredRow> TableRows(const std::filesystem::path& file, const std::u16string& table);

}  // namespace e2e
