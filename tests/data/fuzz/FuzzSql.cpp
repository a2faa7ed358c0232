// libFuzzer target: the SQL layer (parser and executor) on hostile statement text. Each
// input is parsed; a SELECT runs as a query, an INSERT, UPDATE or DELETE as a command, on a
// fresh in-memory store holding the program's three tables with a few rows. A statement
// may be refused (SqlError, the user sees its Italian message); anything else (a crash, a
// sanitizer report, another exception, a hang) is a finding. A refused command must leave
// the store as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/sql/SqlError.h"
#include "data/sql/SqlExecutor.h"
#include "data/sql/SqlParser.h"
#include "tests/data/sql/MemoryTableStore.h"

namespace {

// Longer statements only multiply joins and nesting without reaching new code; a cross
// join of a few tables of three rows each stays fast.
constexpr std::size_t kMaxStatement = 400;

void LoadRows(MemoryTableStore& store) {
  using Sql::Value;
  for (std::int64_t i = 1; i <= 3; ++i) {
    std::u16string plate = u"AB" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u"CD";
    store.LoadRow("VEICOLO", {Value::Integer(i), Value::Text(plate), Value::Text(u"auto d'epoca"),
                              Value::Integer(1000 * i), Value::Null()});
    store.LoadRow("INTERVENTI", {Value::Integer(i), Value::Text(u"Olio"), Value::Integer(15000),
                                 Value::Null(), Value::Boolean(i % 2 == 0)});
    store.LoadRow("INTERVENTI_VEICOLO",
                  {Value::Integer(i), Value::Integer(1), Value::Integer(i), Value::Integer(500 * i),
                   Value::Null(), Value::Double(12.5), Value::Text(u"nota")});
  }
}

std::size_t TotalRows(const MemoryTableStore& store) {
  return store.RowCount("VEICOLO") + store.RowCount("INTERVENTI") +
         store.RowCount("INTERVENTI_VEICOLO");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxStatement) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  MemoryTableStore store;
  AddProgramTables(store);
  LoadRows(store);
  Sql::Statement statement;
  try {
    statement = Sql::ParseStatement(text);
  } catch (const Sql::SqlError&) {
    return 0;
  }
  if (const auto* select = std::get_if<Sql::SelectStatement>(&statement)) {
    try {
      Sql::RunQuery(*select, store);
    } catch (const Sql::SqlError&) {
    }
    return 0;
  }
  std::size_t before = TotalRows(store);
  try {
    Sql::RunCommand(statement, store);
  } catch (const Sql::SqlError&) {
    if (TotalRows(store) != before) __builtin_trap();  // a refused command changed the store
  }
  return 0;
}
