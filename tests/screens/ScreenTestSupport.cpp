#include "tests/screens/ScreenTestSupport.h"

#include <filesystem>

#include "app/DatabasePath.h"
#include "toolkit/DateTimeValue.h"

ScreenTest::ScreenTest() {
  const std::filesystem::path file = root / "dati.mdb";
  std::filesystem::copy_file(TEMPLATE_FILE, file);
  DatabasePath = file.wstring();
  owner.SetSize(700, 500);
  owner.SetPosition(40, 30);
  owner.Create();
}

ScreenTest::~ScreenTest() { DatabasePath.clear(); }

void ScreenTest::Type(HWND window, const std::string& characters) {
  for (unsigned char character : characters) SendMessageW(window, WM_CHAR, character, 1);
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
