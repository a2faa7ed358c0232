// The libraries the program's import table makes Windows load before its first line runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/support/WindowsTestSupport.h"

namespace {

// Lower-case names from the import directory of the program, mapped as an image (so that
// addresses in it are offsets from its base) without running or resolving anything.
std::vector<std::string> ImportedLibraries() {
  std::wstring path = (ExecutableFolder() / "TorvaneManutenzione.exe").wstring();
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return {};
  // The handle of a resource mapping carries flags in its low bits.
  auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  std::vector<std::string> names;
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory);
       directory != 0 && entry->Name != 0; ++entry) {
    std::string name(reinterpret_cast<const char*>(base + entry->Name));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  FreeLibrary(module);
  return names;
}

}  // namespace

TEST(ProgramImports, OnlyWhatTheFirstWindowNeeds) {
  std::vector<std::string> imports = ImportedLibraries();
  // COM, OLE automation, the shell and the common dialogs are loaded on first use.
  const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                            "comctl32.dll", "msvcrt.dll"};
  ASSERT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end());
  for (const std::string& library : imports) {
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), library), allowed.end()) << library;
  }
}
