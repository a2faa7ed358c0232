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
