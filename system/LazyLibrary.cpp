#include "system/LazyLibrary.h"

FARPROC LazyLibrary::FindAddress(const char* name) {
  // These are known system libraries: Windows loads them from the system folder only.
  if (module_ == nullptr) module_ = LoadLibraryW(fileName_);
  FARPROC address = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
  if (address == nullptr) missing_ += missing_.empty() ? name : std::string(" ") + name;
  return address;
}
