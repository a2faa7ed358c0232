#include "data/DbConnection.h"

#include <cmath>
#include <cwctype>
#include <limits>

#include "data/CommittedWrites.h"
#include "toolkit/base/TextEncoding.h"

namespace {

const char kConnectionClosed[] = "Connessione chiusa. Impossibile aprire il recordset.";
const char kRecordsetClosed[] = "Errore Recordset chiuso.";
const char kOpenConnectionFailed[] = "Errore durante l'apertura della connessione";
const char kOpenRecordsetFailed[] = "Errore durante l'apertura del recordset";
const char kCommandFailed[] = "Impossibile eseguire il comando. ";
const char kAtEndFailed[] = "Impossibile determinare se si è raggiunta la fine dei record.";
const char kNextFailed[] = "Impossibile passare al record successivo.";
const char kFieldFailed[] = "Impossibile estrarre il valore del campo.";

LumoUtility::DateTimeValue DefaultDate() { return LumoUtility::MakeDate(1900, 1, 1); }

}  // namespace

std::wstring ConnectionStringValue(const std::wstring& connectionString, const std::wstring& key) {
  std::size_t start = 0;
  while (start <= connectionString.size()) {
    std::size_t end = connectionString.find(L';', start);
    if (end == std::wstring::npos) end = connectionString.size();
    std::wstring item = connectionString.substr(start, end - start);
    std::size_t equals = item.find(L'=');
    if (equals != std::wstring::npos) {
      std::wstring name = item.substr(0, equals);
      bool same = name.size() == key.size();
      for (std::size_t i = 0; same && i < name.size(); ++i) {
        same = std::towupper(name[i]) == std::towupper(key[i]);
      }
      if (same) return item.substr(equals + 1);
    }
    start = end + 1;
  }
  return L"";
}

DbConnection::DbConnection(std::wstring connectionString, std::unique_ptr<DbEngine> engine)
    : connectionString_(std::move(connectionString)), engine_(std::move(engine)) {
  std::string startupError = engine_ ? engine_->StartupError() : std::string(kOpenConnectionFailed);
  if (!startupError.empty()) {
    // The object stays usable: later operations fail through their own checks.
    errorFlag_ = true;
    errorText_ = startupError;
    engine_.reset();
  }
}

void DbConnection::ResetError() {
  errorFlag_ = false;
  errorText_.clear();
}

void DbConnection::Fail(const std::string& text) {
  errorFlag_ = true;
  errorText_ = text;
}

bool DbConnection::IsConnectionOpen() {
  if (session_) return true;
  Fail(kConnectionClosed);
  return false;
}

bool DbConnection::IsRecordsetOpen() {
  if (recordsetOpen_) return true;
  Fail(kRecordsetClosed);
  return false;
}

bool DbConnection::OpenConnection() {
  ResetError();
  if (!engine_) {
    Fail(kOpenConnectionFailed);
    return false;
  }
  try {
    session_ = engine_->Open(connectionString_);
    return true;
  } catch (const std::exception&) {
    // The engine's own reason is not kept: the user sees one clear message.
    session_.reset();
    Fail(kOpenConnectionFailed);
    return false;
  }
}

bool DbConnection::OpenRecordset(const std::string& sql) {
  ResetError();
  if (!IsConnectionOpen()) return false;
  recordsetOpen_ = false;
  result_ = Sql::QueryResult();
  position_ = 0;
  try {
    result_ = session_->Query(sql);
    recordsetOpen_ = true;
    return true;
  } catch (const std::exception& failure) {
    std::string description = failure.what();
    Fail(description.empty() ? kOpenRecordsetFailed : description);
    return false;
  }
}

std::int32_t DbConnection::ExecuteCommand(const std::string& sql) {
  ResetError();
  if (!IsConnectionOpen()) return -1;
  try {
    std::int64_t affected = session_->Execute(sql);
    // Both engines commit each statement by itself: rows changed are changes kept.
    if (affected > 0) CountCommittedWrite();
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(affected, std::numeric_limits<std::int32_t>::max()));
  } catch (const std::exception& failure) {
    Fail(std::string(kCommandFailed) + failure.what());
    return -1;
  }
}

bool DbConnection::AtEnd() {
  ResetError();
  if (!IsRecordsetOpen()) return true;
  return position_ >= result_.rows.size();
}

bool DbConnection::NextRecord() {
  ResetError();
  if (!IsRecordsetOpen()) return false;
  if (position_ >= result_.rows.size()) {
    Fail(kNextFailed);
    return false;
  }
  ++position_;
  return true;
}

const Sql::Value* DbConnection::CurrentField(int index, std::string& problem) {
  if (position_ >= result_.rows.size()) {
    problem = "Nessun record corrente: inizio o fine del recordset.";
    return nullptr;
  }
  const Sql::Row& row = result_.rows[position_];
  if (index < 0 || static_cast<std::size_t>(index) >= row.size()) {
    problem =
        "Impossibile trovare l'elemento nell'insieme corrispondente al nome o al numero "
        "richiesto.";
    return nullptr;
  }
  return &row[static_cast<std::size_t>(index)];
}

std::int32_t DbConnection::FieldInt(int index) {
  ResetError();
  if (!IsConnectionOpen()) return -1;
  std::string problem = "Recordset chiuso.";
  const Sql::Value* value = recordsetOpen_ ? CurrentField(index, problem) : nullptr;
  if (value == nullptr) {
    Fail(kFieldFailed + problem);
    return -1;
  }
  switch (value->type) {
    case Sql::Value::Type::Null: return 0;
    case Sql::Value::Type::Integer: return static_cast<std::int32_t>(value->integer);
    case Sql::Value::Type::Boolean: return value->boolean ? -1 : 0;
    case Sql::Value::Type::Text:
      Fail(std::string(kFieldFailed) + "Tipo di dati non corrispondente.");
      return -1;
    default: {
      double d = std::trunc(value->AsDouble());
      if (!(d >= std::numeric_limits<std::int32_t>::min() &&
            d <= std::numeric_limits<std::int32_t>::max())) {
        Fail(std::string(kFieldFailed) + "Overflow.");
        return -1;
      }
      return static_cast<std::int32_t>(d);
    }
  }
}

std::string DbConnection::FieldText(int index) {
  ResetError();
  if (!IsConnectionOpen()) return "";
  std::string problem;
  const Sql::Value* value = recordsetOpen_ ? CurrentField(index, problem) : nullptr;
  if (value == nullptr) {
    Fail(kFieldFailed);
    return "";
  }
  if (value->type != Sql::Value::Type::Text) return "";
  return LumoUtility::NarrowUtf16(value->text);
}

double DbConnection::FieldDouble(int index) {
  ResetError();
  if (!IsRecordsetOpen()) return -1.0;
  std::string problem;
  const Sql::Value* value = CurrentField(index, problem);
  if (value == nullptr || value->type == Sql::Value::Type::Text) {
    Fail(kFieldFailed);
    return 0.0;
  }
  return value->IsNull() ? 0.0 : value->AsDouble();
}

bool DbConnection::FieldBool(int index) {
  ResetError();
  if (!IsRecordsetOpen()) return false;
  std::string problem;
  const Sql::Value* value = CurrentField(index, problem);
  if (value == nullptr || value->type == Sql::Value::Type::Text) {
    Fail(kFieldFailed);
    return false;
  }
  return !value->IsNull() && value->AsDouble() != 0.0;
}

LumoUtility::DateTimeValue DbConnection::FieldDate(int index) {
  ResetError();
  if (!IsRecordsetOpen()) return DefaultDate();
  std::string problem;
  const Sql::Value* value = CurrentField(index, problem);
  if (value == nullptr || value->type == Sql::Value::Type::Text) {
    Fail(kFieldFailed);
    return DefaultDate();
  }
  if (value->IsNull()) return DefaultDate();
  // Fractions of a second are dropped. A value no calendar date can hold (before 1601,
  // after 9999, damaged) reads like NULL, marked invalid.
  LumoUtility::DateTimeValue date;
  if (!LumoUtility::FromOleDate(value->AsDouble(), LumoUtility::OleFraction::kSignedDays, date) ||
      date.invalid) {
    LumoUtility::DateTimeValue outOfRange = DefaultDate();
    outOfRange.invalid = true;
    return outOfRange;
  }
  return date;
}

void DbConnection::FailFieldRead() { Fail(kFieldFailed); }

void DbConnection::CloseRecordset() {
  recordsetOpen_ = false;
  result_ = Sql::QueryResult();
  position_ = 0;
}

void DbConnection::CloseConnection() {
  CloseRecordset();
  session_.reset();
}
