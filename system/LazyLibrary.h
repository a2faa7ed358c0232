#pragma once
#include <windows.h>

#include <string>

// A system library loaded on first use instead of at start-up. Once loaded it stays loaded
// for the process's life: COM objects, shell hooks and dialogs may still run its code
// after any caller is done, so no caller can know when unloading would be safe. Used from
// the GUI thread only.
// What a wrapper of a COM-style function answers when the function cannot be found.
const HRESULT kFunctionNotFound = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

class LazyLibrary {
 public:
  explicit LazyLibrary(const wchar_t* fileName) : fileName_(fileName) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // The named export, loading the library if need be; nullptr (and noted in Missing) when
  // the library or the export is not there.
  template <typename Function>
  Function* Find(const char* name) {
    // FARPROC is the generic function pointer; the caller names the real type.
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(FindAddress(name)));
  }

  bool Loaded() const { return module_ != nullptr; }
  // The names that could not be found, separated by spaces ("" when every one was).
  const std::string& Missing() const { return missing_; }

 private:
  FARPROC FindAddress(const char* name);

  const wchar_t* fileName_;
  HMODULE module_ = nullptr;
  std::string missing_;
};
