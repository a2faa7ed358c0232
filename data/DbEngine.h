#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "data/sql/SqlExecutor.h"

// What stands behind DbConnection: an engine that opens the database a connection
// string names and runs the program's SQL on it. The built-in engine reads and writes
// the Access file itself; on Windows with the Jet provider registered, ADO does.

// A failure the engine reports; the description is shown to the user.
class DbFailure : public std::runtime_error {
 public:
  explicit DbFailure(const std::string& description) : std::runtime_error(description) {}
};

class DbSession {
 public:
  virtual ~DbSession() = default;
  // The whole result of a SELECT, read front to back by the caller.
  virtual Sql::QueryResult Query(const std::string& sql) = 0;
  // INSERT, UPDATE or DELETE; the number of rows affected.
  virtual std::int64_t Execute(const std::string& sql) = 0;
};

class DbEngine {
 public:
  virtual ~DbEngine() = default;
  // Empty when the engine is ready; otherwise why it cannot work at all.
  virtual std::string StartupError() const { return ""; }
  // Opens the database; throws DbFailure.
  virtual std::unique_ptr<DbSession> Open(const std::wstring& connectionString) = 0;
};

// The value of one "Key=value" item of a connection string ("" when absent).
std::wstring ConnectionStringValue(const std::wstring& connectionString, const std::wstring& key);
