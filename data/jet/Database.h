#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/jet/Catalog.h"
#include "data/jet/DatabaseHeader.h"
#include "data/jet/JetError.h"
#include "data/jet/PageSource.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/TableScan.h"
#include "data/jet/Value.h"

// The engine's entry point for reading an Access 2000-2003 (Jet 4) database.
//
// Layers, each behind its header, lower ones knowing nothing of upper ones:
//   file and pages      PageSource.h (+ DatabaseHeader.h for page 0, DataPage.h for row slots)
//   usage maps          UsageMap.h
//   tables and rows     TableDefinition.h, RowDecoder.h, LongValue.h, TextDecoder.h, TableScan.h
//   indexes             IndexDefinition.h (definitions), IndexReader.h (B-tree pages)
//   catalogue           Catalog.h, and this facade
// Writing, creating databases and checking them: WritableDatabase.h (the write facade and
// its layers), DatabaseCreator.h, Validator.h.
// On-disk offsets and magic values live in FormatConstants.h only.
//
// Every operation either succeeds with correct data or throws Jet::JetError (the only
// exception type the engine throws); a damaged or hostile file never crashes it, hangs
// it or makes it allocate more than the file's size justifies.
namespace Jet {

class Database {
 public:
  // Opens a file read-only; refuses files the engine cannot read, naming the reason.
  static Database OpenFile(const std::filesystem::path& path);
  // Reads from any page source (a memory image in tests and fuzzing).
  explicit Database(std::unique_ptr<PageSource> source);

  const DatabaseHeader& Header() const { return header_; }
  const PageSource& Pages() const { return *source_; }

  // User tables, in catalogue order.
  std::vector<CatalogTable> UserTables() const;
  // Every local table, system tables included.
  const std::vector<CatalogTable>& AllTables() const { return catalog_; }

  // The definition of the table with this name (case-insensitive); kNotFound if none.
  TableDefinition ReadTable(const std::u16string& name) const;
  TableDefinition ReadTable(const CatalogTable& table) const;
  // A forward scan over the table's rows.
  TableScan Scan(const TableDefinition& table) const { return TableScan(*source_, table); }

 private:
  std::unique_ptr<PageSource> source_;
  DatabaseHeader header_;
  std::vector<CatalogTable> catalog_;
};

}  // namespace Jet
