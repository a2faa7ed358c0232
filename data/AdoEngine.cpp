// ADO through its interfaces' vtables: its type library is not always registered, so
// late binding is not an option. MinGW's header needs -fpermissive in this one file.
#include "data/AdoEngine.h"

#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>

#include <adoint.h>

#include "data/ComPtr.h"
#include "system/Ole32.h"
#include "system/OleAut32.h"
#include "toolkit/base/TextEncoding.h"

namespace {

// ADO 2.0 identities: later ADO versions keep these interfaces' method order.
const CLSID kConnectionClass = {
    0x00000514, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kConnectionInterface = {
    0x00000550, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const CLSID kRecordsetClass = {
    0x00000535, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kRecordsetInterface = {
    0x00000556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
constexpr DWORD kServerContexts = 23;  // in-process server and handler, local and remote
constexpr long kStateOpen = 1;
constexpr long kExecuteNoRecords = 128;

// A BSTR owned for the length of a call.
class Bstr {
 public:
  explicit Bstr(const std::wstring& text)
      : value_(OleAut32::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { OleAut32::SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_;
};

// A VARIANT cleared on every way out.
class Variant {
 public:
  Variant() { OleAut32::VariantInit(&value_); }
  ~Variant() { OleAut32::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* Get() { return &value_; }
  VARIANT& operator*() { return value_; }

 private:
  VARIANT value_;
};

// The description of the last provider error on this thread ("" when none).
std::string ProviderDescription() {
  ComPtr<IErrorInfo> info;
  if (OleAut32::GetErrorInfo(0, info.Put()) != S_OK || !info) return "";
  BSTR description = nullptr;
  std::string text;
  if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr) {
    text = LumoUtility::NarrowText(std::wstring(description, OleAut32::SysStringLen(description)));
  }
  OleAut32::SysFreeString(description);
  return text;
}

template <typename Interface>
bool CreateObject(const CLSID& classId, const IID& interfaceId, ComPtr<Interface>& object) {
  ComPtr<IUnknown> unknown;
  if (FAILED(Ole32::CoCreateInstance(classId, nullptr, kServerContexts, IID_IUnknown,
                                     reinterpret_cast<void**>(unknown.Put())))) {
    return false;
  }
  if (FAILED(Ole32::OleRun(unknown.Get()))) return false;
  return SUCCEEDED(unknown->QueryInterface(interfaceId, reinterpret_cast<void**>(object.Put())));
}

Sql::Value ValueOf(VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: return Sql::Value::Null();
    case VT_BOOL: return Sql::Value::Boolean(v.boolVal != VARIANT_FALSE);
    case VT_UI1: return Sql::Value::Integer(v.bVal);
    case VT_I1: return Sql::Value::Integer(v.cVal);
    case VT_I2: return Sql::Value::Integer(v.iVal);
    case VT_UI2: return Sql::Value::Integer(v.uiVal);
    case VT_I4: return Sql::Value::Integer(v.lVal);
    case VT_UI4: return Sql::Value::Integer(v.ulVal);
    case VT_INT: return Sql::Value::Integer(v.intVal);
    case VT_I8: return Sql::Value::Integer(v.llVal);
    case VT_R4: return Sql::Value::Double(v.fltVal);
    case VT_R8: return Sql::Value::Double(v.dblVal);
    case VT_CY: return Sql::Value::Currency(v.cyVal.int64);
    case VT_DATE: return Sql::Value::DateTime(v.date);
    case VT_BSTR: {
      std::u16string text;
      if (v.bstrVal != nullptr) {
        UINT length = OleAut32::SysStringLen(v.bstrVal);
        text.assign(reinterpret_cast<const char16_t*>(v.bstrVal), length);
      }
      return Sql::Value::Text(std::move(text));
    }
    default: {
      Variant number;
      if (SUCCEEDED(OleAut32::VariantChangeType(number.Get(), &v, 0, VT_R8))) {
        return Sql::Value::Double((*number).dblVal);
      }
      return Sql::Value::Null();
    }
  }
}

class AdoSession : public DbSession {
 public:
  explicit AdoSession(_ADOConnection* connection) : connection_(connection) {}
  ~AdoSession() override {
    long state = 0;
    if (SUCCEEDED(connection_->get_State(&state)) && state == kStateOpen) connection_->Close();
  }

  Sql::QueryResult Query(const std::string& sql) override {
    ComPtr<_ADORecordset> recordset;
    if (!CreateObject(kRecordsetClass, kRecordsetInterface, recordset)) throw DbFailure("");
    Variant source;
    (*source).vt = VT_BSTR;
    (*source).bstrVal = OleAut32::SysAllocString(LumoUtility::WidenText(sql).c_str());
    Variant active;
    (*active).vt = VT_DISPATCH;
    (*active).pdispVal = connection_;
    connection_->AddRef();  // the variant's reference, released when it is cleared
    if (FAILED(recordset->Open(*source, *active, adOpenKeyset, adLockOptimistic, adCmdText))) {
      throw DbFailure(ProviderDescription());
    }
    Sql::QueryResult result;
    ReadAll(*recordset.Get(), result);
    recordset->Close();
    return result;
  }

  std::int64_t Execute(const std::string& sql) override {
    Bstr text(LumoUtility::WidenText(sql));
    Variant affected;
    (*affected).vt = VT_I4;
    ComPtr<_ADORecordset> returned;
    if (FAILED(
            connection_->Execute(text.Get(), affected.Get(), kExecuteNoRecords, returned.Put()))) {
      throw DbFailure(ProviderDescription());
    }
    long state = 0;
    if (returned && SUCCEEDED(returned->get_State(&state)) && state == kStateOpen)
      returned->Close();
    Variant count;
    if (FAILED(OleAut32::VariantChangeType(count.Get(), affected.Get(), 0, VT_I4))) return 0;
    return (*count).lVal;
  }

 private:
  static void ReadAll(_ADORecordset& recordset, Sql::QueryResult& result) {
    ComPtr<ADOFields> fields;
    long count = 0;
    if (FAILED(recordset.get_Fields(fields.Put())) || !fields ||
        FAILED(fields->get_Count(&count))) {
      throw DbFailure(ProviderDescription());
    }
    auto field = [&](long index, ComPtr<ADOField>& out) {
      Variant position;
      (*position).vt = VT_I2;
      (*position).iVal = static_cast<SHORT>(index);
      if (FAILED(fields->get_Item(*position, out.Put())) || !out) {
        throw DbFailure(ProviderDescription());
      }
    };
    for (long i = 0; i < count; ++i) {
      ComPtr<ADOField> column;
      field(i, column);
      BSTR name = nullptr;
      std::string text;
      if (SUCCEEDED(column->get_Name(&name)) && name != nullptr) {
        text = LumoUtility::NarrowText(std::wstring(name, OleAut32::SysStringLen(name)));
      }
      OleAut32::SysFreeString(name);
      result.columnNames.push_back(text);
    }
    while (true) {
      VARIANT_BOOL atEnd = VARIANT_TRUE;
      if (FAILED(recordset.get_EOF(&atEnd))) throw DbFailure(ProviderDescription());
      if (atEnd != VARIANT_FALSE) break;
      Sql::Row row;
      for (long i = 0; i < count; ++i) {
        ComPtr<ADOField> column;
        field(i, column);
        Variant value;
        if (FAILED(column->get_Value(value.Get()))) throw DbFailure(ProviderDescription());
        row.push_back(ValueOf(*value));
      }
      result.rows.push_back(std::move(row));
      if (FAILED(recordset.MoveNext())) throw DbFailure(ProviderDescription());
    }
  }

  _ADOConnection* connection_;  // owned by the engine
};

class AdoEngine : public DbEngine {
 public:
  AdoEngine() {
    comReady_ = SUCCEEDED(Ole32::CoInitialize(nullptr));
    if (!comReady_) {
      startupError_ = "impossibile accedere all'oggetto COM";
      return;
    }
    if (!CreateObject(kConnectionClass, kConnectionInterface, connection_)) {
      startupError_ = "impossibile creare l'oggetto Connection";
    }
  }
  ~AdoEngine() override {
    connection_.Reset();
    if (comReady_) Ole32::CoUninitialize();
  }
  AdoEngine(const AdoEngine&) = delete;
  AdoEngine& operator=(const AdoEngine&) = delete;

  std::string StartupError() const override { return startupError_; }

  std::unique_ptr<DbSession> Open(const std::wstring& connectionString) override {
    if (!connection_) throw DbFailure("");
    Bstr text(connectionString);
    Bstr empty(L"");
    if (FAILED(connection_->Open(text.Get(), empty.Get(), empty.Get(), adOptionUnspecified))) {
      throw DbFailure(ProviderDescription());
    }
    return std::make_unique<AdoSession>(connection_.Get());
  }

 private:
  bool comReady_ = false;
  std::string startupError_;
  ComPtr<_ADOConnection> connection_;
};

}  // namespace

std::unique_ptr<DbEngine> MakeAdoEngine() { return std::make_unique<AdoEngine>(); }

bool JetProviderRegistered() {
  bool initialized = SUCCEEDED(Ole32::CoInitialize(nullptr));
  CLSID provider{};
  bool registered = SUCCEEDED(Ole32::CLSIDFromProgID(L"Microsoft.Jet.OLEDB.4.0", &provider));
  if (initialized) Ole32::CoUninitialize();
  return registered;
}
