#include "tests/data/store/MemoryEngine.h"

#include "data/TableStoreSession.h"

namespace {

class LoggingSession : public DbSession {
 public:
  LoggingSession(MemoryTableStore& store, std::vector<std::string>* log)
      : inner_(store), log_(log) {}
  Sql::QueryResult Query(const std::string& sql) override {
    if (log_) log_->push_back(sql);
    return inner_.Query(sql);
  }
  std::int64_t Execute(const std::string& sql) override {
    if (log_) log_->push_back(sql);
    return inner_.Execute(sql);
  }

 private:
  TableStoreSession inner_;
  std::vector<std::string>* log_;
};

}  // namespace

std::unique_ptr<DbSession> MemoryEngine::Open(const std::wstring& connectionString) {
  if (store_ == nullptr || ConnectionStringValue(connectionString, L"Data Source").empty()) {
    throw DbFailure("Impossibile trovare il file.");
  }
  return std::make_unique<LoggingSession>(*store_, log_);
}

void AddProgramTables(MemoryTableStore& store) {
  using T = Sql::ColumnType;
  store.AddTable({"VEICOLO",
                  {{"ID", T::Long, true, 0},
                   {"TARGA", T::Text, false, 50},
                   {"DESCRIZIONE", T::Text, false, 255},
                   {"KM", T::Long, false, 0},
                   {"DATA_KM", T::DateTime, false, 0}}});
  store.AddTable({"INTERVENTI",
                  {{"ID", T::Long, true, 0},
                   {"INTERVENTO", T::Text, false, 255},
                   {"CADENZAKM", T::Long, false, 0},
                   {"NOTE", T::Memo, false, 0},
                   {"FINERODAGGIO", T::Boolean, false, 0}}});
  store.AddTable({"INTERVENTI_VEICOLO",
                  {{"ID", T::Long, true, 0},
                   {"ID_VEICOLO", T::Long, false, 0},
                   {"ID_INTERVENTO", T::Long, false, 0},
                   {"KM", T::Long, false, 0},
                   {"DATA", T::DateTime, false, 0},
                   {"COSTO", T::Double, false, 0},
                   {"NOTE", T::Memo, false, 0}}});
}
