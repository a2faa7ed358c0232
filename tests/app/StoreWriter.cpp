// Another running copy of the program, as far as the database can tell: inserts vehicles
// through the program's own store, one statement (one commit) each, until told to stop.
//   StoreWriter <database> <stop file> <progress file>
// After each committed vehicle the progress file holds the count of vehicles committed
// so far (replaced whole, so a reader never sees half a number). A refused insert
// (the lock held too long, or another copy's commit in between) is tried again.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "tests/app/WriterRows.h"
#include "toolkit/MessageBoxes.h"

namespace {

void WriteProgress(const std::wstring& path, int committed) {
  std::wstring temporary = path + L".tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text = std::to_string(committed);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 4) return 2;
  DatabasePath = argv[1];
  std::wstring stopFile = argv[2];
  std::wstring progressFile = argv[3];
  LocalFree(argv);
  // Nobody is there to answer a box; the store's failures are read from ErrorFlag.
  LumoUtility::SetMessageBoxPresenter([](const LumoUtility::MessageBoxRequest&) { return IDOK; });

  int committed = 0;
  int failures = 0;
  while (GetFileAttributesW(stopFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    int number = committed + 1;
    VehicleRecord vehicle;
    vehicle.TARGA = WriterRows::Plate(number);
    vehicle.DESCRIZIONE = WriterRows::Description(number);
    vehicle.KM = WriterRows::Kilometres(number);
    vehicle.DATA_KM = LumoUtility::MakeDate(WriterRows::Year(number), WriterRows::Month(number),
                                            WriterRows::Day(number));
    vehicle.HasDate = true;
    // A store per statement, as the screens make them.
    if (MaintenanceStore().SaveVehicle(vehicle)) {
      committed = number;
      WriteProgress(progressFile, committed);
    } else if (++failures > 1000) {
      return 3;
    }
  }
  return 0;
}
