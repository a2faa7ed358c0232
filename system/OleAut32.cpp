#include "system/OleAut32.h"

namespace OleAut32 {
namespace {

LazyLibrary& Module() {
  static LazyLibrary library(L"oleaut32.dll");
  return library;
}

}  // namespace

const LazyLibrary& Library() { return Module(); }

BSTR SysAllocString(const OLECHAR* text) {
  static auto* const function = Module().Find<decltype(::SysAllocString)>("SysAllocString");
  return function != nullptr ? function(text) : nullptr;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  static auto* const function = Module().Find<decltype(::SysAllocStringLen)>("SysAllocStringLen");
  return function != nullptr ? function(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
  static auto* const function = Module().Find<decltype(::SysFreeString)>("SysFreeString");
  if (function != nullptr) function(text);
}

UINT SysStringLen(BSTR text) {
  static auto* const function = Module().Find<decltype(::SysStringLen)>("SysStringLen");
  return function != nullptr ? function(text) : 0;
}

void VariantInit(VARIANTARG* value) {
  static auto* const function = Module().Find<decltype(::VariantInit)>("VariantInit");
  // Without the library a variant must still start empty, so that clearing it is harmless.
  if (function != nullptr) {
    function(value);
  } else {
    value->vt = VT_EMPTY;
  }
}

HRESULT VariantClear(VARIANTARG* value) {
  static auto* const function = Module().Find<decltype(::VariantClear)>("VariantClear");
  return function != nullptr ? function(value) : kFunctionNotFound;
}

HRESULT VariantChangeType(VARIANTARG* destination, VARIANTARG* source, USHORT flags, VARTYPE type) {
  static auto* const function = Module().Find<decltype(::VariantChangeType)>("VariantChangeType");
  return function != nullptr ? function(destination, source, flags, type) : kFunctionNotFound;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) {
  static auto* const function = Module().Find<decltype(::GetErrorInfo)>("GetErrorInfo");
  if (function != nullptr) return function(reserved, info);
  *info = nullptr;
  return kFunctionNotFound;
}

}  // namespace OleAut32
