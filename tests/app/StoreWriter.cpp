// Another running copy of the program, as far as the database can tell: inserts vehicles
// through the program's own store, one statement (one commit) each, until told to stop.
//   StoreWriter <database> <stop file> <progress mapping> [plate prefix]
// After each committed vehicle the named shared memory <progress mapping> (two 32-bit
// counters, made by the caller) holds the count of vehicles committed so far, then the
// count of refused inserts (the lock held too long), which are tried again.
// It goes on from the vehicles of its prefix already in the database (a writer killed
// before and started again continues its numbering).
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "data/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "tests/app/ProgressCounters.h"
#include "tests/app/WriterRows.h"

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || (argc != 4 && argc != 5)) return 2;
  DatabasePath = argv[1];
  const char prefix = argc == 5 ? static_cast<char>(argv[4][0]) : 'W';
  std::wstring stopFile = argv[2];
  ProgressCounters progress(argv[3]);
  LocalFree(argv);
  if (!progress.Open()) return 2;
  // No box can appear: ProgramStoreMessage is left unset, failures are read from ErrorFlag.

  int result = 0;
  int committed = 0;
  std::vector<std::string> plates;
  if (MaintenanceStore().ListPlates(plates)) {
    for (const std::string& plate : plates) {
      if (!plate.empty() && plate[0] == prefix) ++committed;
    }
    progress.SetDone(committed);
  } else {
    result = 4;
  }
  int failures = 0;
  while (result == 0 && GetFileAttributesW(stopFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    int number = committed + 1;
    VehicleRecord vehicle;
    vehicle.TARGA = WriterRows::Plate(number, prefix);
    vehicle.DESCRIZIONE = WriterRows::Description(number);
    vehicle.KM = WriterRows::Kilometres(number);
    vehicle.DATA_KM = LumoUtility::MakeDate(WriterRows::Year(number), WriterRows::Month(number),
                                            WriterRows::Day(number));
    vehicle.HasDate = true;
    // A store per statement, as the screens make them.
    if (MaintenanceStore().SaveVehicle(vehicle)) {
      committed = number;
      progress.SetDone(committed);
    } else {
      progress.SetRefused(++failures);
      if (failures > 1000) {
        result = 3;
        break;
      }
    }
  }
  return result;
}
