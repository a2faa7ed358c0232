#include "tests/screens/ScreenTestSupport.h"

#include <filesystem>

#include "data/DatabasePath.h"
#include "tests/support/TestFiles.h"
#include "toolkit/base/DateTimeValue.h"

ScreenTest::ScreenTest() {
  const std::filesystem::path file = root / "dati.mdb";
  std::filesystem::copy_file(TemplateFile(), file);
  DatabasePath = file.wstring();
  owner.SetSize(700, 500);
  owner.SetPosition(40, 30);
  owner.Create();
}

ScreenTest::~ScreenTest() { DatabasePath.clear(); }

void ScreenTest::Type(HWND window, const std::string& characters) {
  for (unsigned char character : characters) SendMessageW(window, WM_CHAR, character, 1);
}

namespace {

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void ScreenTest::Press(WORD key, bool control) {
  if (control) SendKey(VK_CONTROL, false);
  SendKey(key, false);
  SendKey(key, true);
  if (control) SendKey(VK_CONTROL, true);
  PumpMessagesFor(std::chrono::milliseconds(150));
}

bool ScreenTest::WaitGone(HWND window) {
  return PumpMessagesUntil([window] { return !IsWindow(window); });
}

RECT ScreenTest::ClientBounds(HWND child) {
  RECT bounds{};
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

VehicleRecord ScreenTest::StoreVehicle(const std::string& plate, const std::string& description,
                                       std::int32_t km, bool withDate) {
  VehicleRecord vehicle;
  vehicle.TARGA = plate;
  vehicle.DESCRIZIONE = description;
  vehicle.KM = km;
  vehicle.HasDate = withDate;
  if (withDate) vehicle.DATA_KM = LumoUtility::MakeDate(2023, 4, 17);
  MaintenanceStore store;
  EXPECT_TRUE(store.SaveVehicle(vehicle)) << store.ErrorText();
  return vehicle;
}

const LumoUtility::MessageBoxRequest* ScreenTest::LastBox() const {
  return boxes.Requests().empty() ? nullptr : &boxes.Requests().back();
}

InterventionType ScreenTest::StoreType(const std::string& name, std::int32_t cadence,
                                       bool runningIn, const std::string& notes) {
  InterventionType entry;
  entry.INTERVENTO = name;
  entry.CADENZAKM = cadence;
  entry.FINERODAGGIO = runningIn;
  entry.NOTE = notes;
  MaintenanceStore store;
  EXPECT_TRUE(store.SaveInterventionType(entry)) << store.ErrorText();
  for (const InterventionType& stored : StoredTypes()) {
    if (stored.INTERVENTO == name) entry.ID = stored.ID;
  }
  EXPECT_GT(entry.ID, 0);
  return entry;
}

void ScreenTest::StoreDone(const VehicleRecord& vehicle, std::int32_t typeId, std::int32_t km) {
  MaintenanceStore store;
  const std::int32_t vehicleId = store.FindVehicleIdByPlate(vehicle.TARGA);
  VehicleIntervention done;
  done.ID_INTERVENTO = typeId;
  done.KM = km;
  done.DATA = LumoUtility::MakeDate(2022, 5, 6);
  EXPECT_TRUE(store.SaveVehicleIntervention(vehicleId, done)) << store.ErrorText();
}

std::vector<InterventionType> ScreenTest::StoredTypes() {
  MaintenanceStore store;
  std::vector<InterventionType> types = store.ListInterventionTypes();
  EXPECT_FALSE(store.ErrorFlag()) << store.ErrorText();
  return types;
}
