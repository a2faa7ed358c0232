#include "data/TableStoreSession.h"

#include "data/sql/SqlError.h"
#include "data/sql/SqlParser.h"

Sql::QueryResult TableStoreSession::Query(const std::string& sql) {
  Sql::Statement statement = Sql::ParseStatement(sql);
  const auto* select = std::get_if<Sql::SelectStatement>(&statement);
  if (select == nullptr) {
    throw Sql::SqlError("Il recordset si apre solo con una query SELECT.");
  }
  return Sql::RunQuery(*select, store_);
}

std::int64_t TableStoreSession::Execute(const std::string& sql) {
  return Sql::RunCommand(Sql::ParseStatement(sql), store_);
}
