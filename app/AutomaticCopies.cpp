#include "app/AutomaticCopies.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "app/FilePaths.h"
#include "app/FileSystem.h"
#include "data/DatabaseFile.h"
#include "data/WholeFiles.h"

namespace fs = std::filesystem;

namespace {

// Runs closing in the same second would need more names than this before one is free.
constexpr int kNamesTried = 60;
constexpr ULONGLONG kFileTimeSecond = 10'000'000;

// The local time `seconds` after `time`, through the file-time count, which knows the
// calendar.
CopyTime SecondsLater(const SYSTEMTIME& time, int seconds) {
  SYSTEMTIME later = time;
  FILETIME fileTime{};
  if (seconds > 0 && SystemTimeToFileTime(&time, &fileTime)) {
    ULARGE_INTEGER count{};
    count.LowPart = fileTime.dwLowDateTime;
    count.HighPart = fileTime.dwHighDateTime;
    count.QuadPart += static_cast<ULONGLONG>(seconds) * kFileTimeSecond;
    fileTime.dwLowDateTime = count.LowPart;
    fileTime.dwHighDateTime = count.HighPart;
    FileTimeToSystemTime(&fileTime, &later);
  }
  return {later.wYear, later.wMonth, later.wDay, later.wHour, later.wMinute, later.wSecond};
}

// The names of the files in the folder (none when it cannot be read).
std::vector<std::wstring> FileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code notFile;
    if (entry->is_regular_file(notFile)) names.push_back(entry->path().filename().wstring());
  }
  return names;
}

bool IsGoodCopy(const std::wstring& path) {
  try {
    return IsProgramDatabaseImage(ReadFileBytes(path));
  } catch (const std::exception&) {
    return false;
  }
}

void DeleteOldCopies(const std::wstring& folder, const std::wstring& justWritten) {
  for (const std::wstring& name : CopiesToDelete(FileNames(folder), justWritten)) {
    DeleteFileW((folder + name).c_str());
  }
}

}  // namespace

std::wstring AutomaticCopyFolder(const std::wstring& database) {
  return DirectoryPart(database) + L"copie\\";
}

bool WriteAutomaticCopy(const std::wstring& database, const SYSTEMTIME& now) {
  const std::wstring folder = AutomaticCopyFolder(database);
  if (!EnsureDirectory(folder)) return false;
  for (int later = 0; later < kNamesTried; ++later) {
    const std::wstring name = AutomaticCopyName(SecondsLater(now, later));
    const std::wstring path = folder + name;
    if (!CopyCommittedDatabase(database, path, false)) {
      // Taken by a copy of the same second (finished, or being written by another
      // running copy of the program): the next second. Anything else is a failure.
      if (PathExists(path) || PathExists(WritingNameOf(path))) continue;
      return false;
    }
    if (!IsGoodCopy(path)) {
      DeleteFileW(path.c_str());
      return false;
    }
    DeleteOldCopies(folder, name);
    return true;
  }
  return false;
}

std::vector<AutomaticCopy> ListAutomaticCopies(const std::wstring& database) {
  const std::wstring folder = AutomaticCopyFolder(database);
  std::vector<AutomaticCopy> copies;
  for (const std::wstring& name : NewestCopiesFirst(FileNames(folder))) {
    AutomaticCopy copy;
    copy.path = folder + name;
    copy.time = *AutomaticCopyTime(name);
    std::error_code unknown;
    const std::uintmax_t size = fs::file_size(copy.path, unknown);
    copy.bytes = unknown ? 0 : size;
    copies.push_back(copy);
  }
  return copies;
}
