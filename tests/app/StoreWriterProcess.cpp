#include "tests/app/StoreWriterProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/jet/Database.h"
#include "data/jet/Validator.h"
#include "tests/app/WriterRows.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/base/DateTimeValue.h"
#include "toolkit/base/TextEncoding.h"

namespace fs = std::filesystem;

namespace {
// The mapping's counters: committed, then refused.
constexpr DWORD kCounters = 2;
}  // namespace

StoreWriterProcess::StoreWriterProcess(const fs::path& database, const fs::path& folder,
                                       char platePrefix)
    : stopFile_(folder / (std::string("writer-") + platePrefix + ".stop")) {
  Start(L"StoreWriter.exe", database, platePrefix, L"");
}

StoreWriterProcess::StoreWriterProcess(const fs::path& database, const fs::path& folder,
                                       const fs::path& backupFolderA, const fs::path& backupFolderB)
    : stopFile_(folder / "restorer.stop") {
  Start(L"RestoreRunner.exe", database, 'R',
        L" \"" + backupFolderA.wstring() + L"\" \"" + backupFolderB.wstring() + L"\"");
}

void StoreWriterProcess::Start(const std::wstring& programName, const fs::path& database,
                               char platePrefix, const std::wstring& extraArguments) {
  static LONG instances = 0;
  std::wstring mappingName = L"Local\\StoreWriterProgress-" +
                             std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(InterlockedIncrement(&instances));
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                kCounters * sizeof(LONG), mappingName.c_str());
  if (mapping_ == nullptr) return;
  progress_ = static_cast<volatile LONG*>(
      MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, kCounters * sizeof(LONG)));
  if (progress_ == nullptr) return;
  std::wstring program = (ExecutableFolder() / programName).wstring();
  std::wstring commandLine = L"\"" + program + L"\" \"" + database.wstring() + L"\" \"" +
                             stopFile_.wstring() + L"\" " + mappingName + L" " +
                             std::wstring(1, static_cast<wchar_t>(platePrefix)) + extraArguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &info_) != FALSE;
}

StoreWriterProcess::~StoreWriterProcess() {
  Stop();
  if (progress_ != nullptr) UnmapViewOfFile(const_cast<LONG*>(progress_));
  if (mapping_ != nullptr) CloseHandle(mapping_);
}

int StoreWriterProcess::Committed() const {
  return progress_ ? InterlockedCompareExchange(progress_, 0, 0) : 0;
}

int StoreWriterProcess::Refused() const {
  return progress_ ? InterlockedCompareExchange(progress_ + 1, 0, 0) : 0;
}

bool StoreWriterProcess::WaitForCommitted(int count) const {
  if (!started_) return false;
  for (int waited = 0; waited < 20000; waited += 5) {
    if (Committed() >= count) return true;
    if (WaitForSingleObject(info_.hProcess, 5) == WAIT_OBJECT_0) return false;
  }
  return false;
}

DWORD StoreWriterProcess::Stop() {
  if (!started_) return exitCode_;
  WriteFileBytes(stopFile_, "stop");
  if (WaitForSingleObject(info_.hProcess, 20000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info_.hProcess, &exitCode_);
  } else {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  Release();
  return exitCode_;
}

void StoreWriterProcess::Kill() {
  if (!started_) return;
  TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, 10000);
  Release();
}

void StoreWriterProcess::Release() {
  started_ = false;
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  std::error_code ignored;
  fs::remove(stopFile_, ignored);
}

namespace {

std::size_t ColumnIndex(const Jet::TableDefinition& table, const char16_t* name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (Jet::NamesEqual(table.columns[i].name, name)) return i;
  }
  ADD_FAILURE() << "no column " << LumoUtility::NarrowUtf16(name);
  return 0;
}

}  // namespace

std::set<int> WriterVehiclesIn(const fs::path& file, char platePrefix) {
  std::set<int> numbers;
  try {
    Jet::Database database = Jet::Database::OpenFile(file);
    Jet::ValidationReport report = Jet::ValidateDatabase(database.Pages());
    for (const std::string& problem : report.problems) ADD_FAILURE() << file << ": " << problem;
    Jet::TableDefinition table = database.ReadTable(u"VEICOLO");
    std::size_t id = ColumnIndex(table, u"ID");
    std::size_t plate = ColumnIndex(table, u"TARGA");
    std::size_t description = ColumnIndex(table, u"DESCRIZIONE");
    std::size_t km = ColumnIndex(table, u"KM");
    std::size_t date = ColumnIndex(table, u"DATA_KM");
    std::set<std::int32_t> ids;
    Jet::TableScan scan = database.Scan(table);
    std::vector<Jet::Value> row;
    while (scan.Next(row)) {
      std::string text = LumoUtility::NarrowUtf16(row[plate].As<std::u16string>());
      int number = 0;
      char prefix = 0;
      if (std::sscanf(text.c_str(), "%c%d", &prefix, &number) != 2 ||
          WriterRows::Plate(number, prefix) != text) {
        ADD_FAILURE() << file << ": a vehicle the helpers did not write: " << text;
        continue;
      }
      EXPECT_TRUE(ids.insert(row[id].As<std::int32_t>()).second) << file << ": ID twice";
      if (prefix != platePrefix) continue;
      EXPECT_TRUE(numbers.insert(number).second) << file << ": twice " << text;
      EXPECT_EQ(LumoUtility::NarrowUtf16(row[description].As<std::u16string>()),
                WriterRows::Description(number))
          << file << " " << text;
      EXPECT_EQ(row[km].As<std::int32_t>(), WriterRows::Kilometres(number)) << file << " " << text;
      LumoUtility::DateTimeValue civil;
      if (!LumoUtility::FromOleDate(row[date].As<Jet::DateTime>().oleDate,
                                    LumoUtility::OleFraction::kTimeOfDay, civil)) {
        ADD_FAILURE() << file << ": no date for " << text;
        continue;
      }
      EXPECT_EQ(civil.year * 10000 + civil.month * 100 + civil.day,
                WriterRows::Year(number) * 10000 + WriterRows::Month(number) * 100 +
                    WriterRows::Day(number))
          << file << " " << text;
    }
  } catch (const std::exception& error) {
    ADD_FAILURE() << file << ": " << error.what();
  }
  return numbers;
}

void ExpectPrefix(const std::set<int>& numbers, const fs::path& file) {
  if (numbers.empty()) return;
  EXPECT_EQ(*numbers.begin(), 1) << file;
  EXPECT_EQ(static_cast<int>(numbers.size()), *numbers.rbegin()) << file << ": a gap";
}
