#include "system/Ole32.h"

#include <ole2.h>

namespace Ole32 {
namespace {

LazyLibrary& Module() {
  static LazyLibrary library(L"ole32.dll");
  return library;
}

}  // namespace

const LazyLibrary& Library() { return Module(); }

HRESULT CoInitialize(LPVOID reserved) {
  static auto* const function = Module().Find<decltype(::CoInitialize)>("CoInitialize");
  return function != nullptr ? function(reserved) : kFunctionNotFound;
}

void CoUninitialize() {
  static auto* const function = Module().Find<decltype(::CoUninitialize)>("CoUninitialize");
  if (function != nullptr) function();
}

HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                         LPVOID* object) {
  static auto* const function = Module().Find<decltype(::CoCreateInstance)>("CoCreateInstance");
  if (function != nullptr) return function(classId, outer, context, interfaceId, object);
  *object = nullptr;
  return kFunctionNotFound;
}

void CoTaskMemFree(LPVOID memory) {
  static auto* const function = Module().Find<decltype(::CoTaskMemFree)>("CoTaskMemFree");
  if (function != nullptr) function(memory);
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID classId) {
  static auto* const function = Module().Find<decltype(::CLSIDFromProgID)>("CLSIDFromProgID");
  return function != nullptr ? function(progId, classId) : kFunctionNotFound;
}

HRESULT OleRun(LPUNKNOWN object) {
  static auto* const function = Module().Find<decltype(::OleRun)>("OleRun");
  return function != nullptr ? function(object) : kFunctionNotFound;
}

}  // namespace Ole32
