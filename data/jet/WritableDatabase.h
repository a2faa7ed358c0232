#pragma once
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/jet/Database.h"
#include "data/jet/DatabaseCreator.h"
#include "data/jet/PageStore.h"
#include "data/jet/RowPointer.h"
#include "data/jet/TableWriter.h"
#include "data/jet/Value.h"

// The engine's entry point for changing a database: rows of user tables are inserted,
// updated and deleted by their identity (the RowPointer a scan reports as CurrentRow).
//
// Write layers, below this facade: PageStore.h (pages in memory, written on commit),
// UsageMapWriter.h, DataPageWriter.h, RowEncoder.h and LongValueWriter.h (rows),
// IndexKey.h and IndexPageWriter.h (indexes), TableWriter.h (one table's writes).
//
// Writes between BeginWrites and CommitWrites are all-or-nothing: they change only pages
// in memory, and the file is written on commit; RollbackWrites forgets them. A write
// outside that bracket commits by itself. A refused write (JetError) changes nothing.
// Commits go through the rollback journal and the writer lock (Journal.h): on disk a
// commit happens whole or not at all, and a commit that would overwrite another running
// copy's commit is refused with kChangedElsewhere (nothing is lost; the statement can be
// run again on the reloaded file).
namespace Jet {

class WritableDatabase {
 public:
  // Opens a file for reading and writing; refuses what Database refuses.
  static WritableDatabase Open(const std::filesystem::path& path);
  explicit WritableDatabase(PageStore store);
  WritableDatabase(WritableDatabase&&) = default;
  WritableDatabase& operator=(WritableDatabase&&) = default;

  const PageSource& Pages() const { return *store_; }
  // A reader over the current pages (changes not yet committed included).
  const Database& Reader() const { return *reader_; }
  TableDefinition ReadTable(const std::u16string& name) const { return reader_->ReadTable(name); }

  void BeginWrites();
  void CommitWrites();
  void RollbackWrites();
  bool InWrites() const { return inWrites_; }
  // Forgets the pages in memory and loads the file again (not within a write bracket).
  // CommitWrites does it by itself after kChangedElsewhere.
  void Reload();
  // One statement against the file as it is now: holds the lock from BeginStatement to
  // EndStatement, after bringing the pages up to the file (see PageStore::Hold), so its
  // commit never meets another copy's.
  void BeginStatement();
  void EndStatement() { store_->Release(); }
  // The file can only be read: every commit is refused with kReadOnly.
  bool ReadOnly() const { return store_->ReadOnly(); }

  // Values in the table's column order (TableDefinition::columns); see TableWriter.
  RowPointer InsertRow(const std::u16string& table, std::vector<Value> values);
  void UpdateRow(const std::u16string& table, const RowPointer& row, std::vector<Value> values);
  void DeleteRow(const std::u16string& table, const RowPointer& row);

  // Adds an empty user table (see TableCreator.h); `creationDate` is its catalogue
  // time (OLE date). Refused when a table of that name exists.
  void CreateTable(const NewTable& table, double creationDate);

 private:
  TableWriter& Writer(const std::u16string& table);
  TableWriter& WriterOf(std::uint32_t definitionPage);
  void RefreshReader();
  template <typename Write>
  auto Run(Write write);

  std::unique_ptr<PageStore> store_;
  std::unique_ptr<Database> reader_;
  std::map<std::uint32_t, std::unique_ptr<TableWriter>> writers_;  // by TDEF page
  bool inWrites_ = false;
};

}  // namespace Jet
