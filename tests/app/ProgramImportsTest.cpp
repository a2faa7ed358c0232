// The libraries the program's import table makes Windows load before its first line runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/WindowsTestSupport.h"

namespace {

template <typename Record>
bool ReadAt(const std::vector<char>& image, std::size_t offset, Record& record) {
  if (offset > image.size() || image.size() - offset < sizeof record) return false;
  std::memcpy(&record, image.data() + offset, sizeof record);
  return true;
}

// The file offset of an address inside the loaded image, through the section table.
std::size_t FileOffset(const std::vector<char>& image, std::size_t sections, int count,
                       DWORD address) {
  for (int i = 0; i < count; ++i) {
    IMAGE_SECTION_HEADER section{};
    if (!ReadAt(image, sections + i * sizeof section, section)) break;
    DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
    if (address >= section.VirtualAddress && address - section.VirtualAddress < size) {
      return section.PointerToRawData + (address - section.VirtualAddress);
    }
  }
  return image.size();
}

// Lower-case library names of the import directory; empty when the file is not a PE image.
std::vector<std::string> ImportedLibraries(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> image((std::istreambuf_iterator<char>(file)), {});
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS32 nt{};
  if (!ReadAt(image, 0, dos) || !ReadAt(image, dos.e_lfanew, nt)) return {};
  if (nt.Signature != IMAGE_NT_SIGNATURE) return {};
  std::size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                         nt.FileHeader.SizeOfOptionalHeader;
  int count = nt.FileHeader.NumberOfSections;
  DWORD directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  std::size_t offset = FileOffset(image, sections, count, directory);
  std::vector<std::string> names;
  IMAGE_IMPORT_DESCRIPTOR entry{};
  while (ReadAt(image, offset, entry) && entry.Name != 0) {
    std::size_t name = FileOffset(image, sections, count, entry.Name);
    std::string text;
    while (name < image.size() && image[name] != '\0') {
      text.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(image[name++]))));
    }
    names.push_back(text);
    offset += sizeof entry;
  }
  return names;
}

}  // namespace

TEST(ProgramImports, OnlyWhatTheFirstWindowNeeds) {
  std::vector<std::string> imports =
      ImportedLibraries(ExecutableFolder() / "TorvaneManutenzione.exe");
  // COM, OLE automation, the shell and the common dialogs are loaded on first use.
  const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                            "comctl32.dll", "msvcrt.dll"};
  ASSERT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end());
  for (const std::string& library : imports) {
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), library), allowed.end()) << library;
  }
}
