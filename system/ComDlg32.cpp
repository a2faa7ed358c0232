#include "system/ComDlg32.h"

namespace ComDlg32 {
namespace {

LazyLibrary& Module() {
  static LazyLibrary library(L"comdlg32.dll");
  return library;
}

}  // namespace

const LazyLibrary& Library() { return Module(); }

BOOL GetSaveFileNameW(LPOPENFILENAMEW dialog) {
  static auto* const function = Module().Find<decltype(::GetSaveFileNameW)>("GetSaveFileNameW");
  return function != nullptr ? function(dialog) : FALSE;
}

}  // namespace ComDlg32
