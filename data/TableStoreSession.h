#pragma once
#include "data/DbEngine.h"
#include "data/sql/TableStore.h"

// Runs the program's SQL text on a table store (the built-in engine's way).
class TableStoreSession : public DbSession {
 public:
  explicit TableStoreSession(Sql::TableStore& store) : store_(store) {}
  Sql::QueryResult Query(const std::string& sql) override;
  std::int64_t Execute(const std::string& sql) override;

 private:
  Sql::TableStore& store_;
};
