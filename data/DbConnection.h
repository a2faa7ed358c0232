#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "data/DbEngine.h"
#include "toolkit/base/DateTimeValue.h"

// The only object that talks to the database: one connection, at most one current
// result (read front to back), and the last error as a flag and an Italian text.
// Every operation resets the error on entry and sets it on failure; nothing throws.
class DbConnection {
 public:
  DbConnection(std::wstring connectionString, std::unique_ptr<DbEngine> engine);
  DbConnection(const DbConnection&) = delete;
  DbConnection& operator=(const DbConnection&) = delete;

  bool IsConnectionOpen();
  bool IsRecordsetOpen();
  bool OpenConnection();
  bool OpenRecordset(const std::string& sql);
  std::int32_t ExecuteCommand(const std::string& sql);
  bool AtEnd();
  bool NextRecord();
  std::int32_t FieldInt(int index);
  std::string FieldText(int index);
  double FieldDouble(int index);
  bool FieldBool(int index);
  LumoUtility::DateTimeValue FieldDate(int index);
  void CloseRecordset();
  void CloseConnection();
  // Sets the error that reading a field of no record gives: for callers that test for
  // the end of the result themselves.
  void FailFieldRead();

  bool ErrorFlag() const { return errorFlag_; }
  std::string ErrorText() const { return errorText_; }

 private:
  void ResetError();
  void Fail(const std::string& text);
  // The value at the current row, or nothing (with the error set) when there is none.
  const Sql::Value* CurrentField(int index, std::string& problem);

  std::wstring connectionString_;
  std::unique_ptr<DbEngine> engine_;
  std::unique_ptr<DbSession> session_;
  bool recordsetOpen_ = false;
  Sql::QueryResult result_;
  std::size_t position_ = 0;
  bool errorFlag_ = false;
  std::string errorText_;
};
