#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/MaintenanceStore.h"
#include "tests/support/GuiTestHarness.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"

// The forms' world in a test: a fresh copy of the template database as the user's
// database, a main window to own the forms, and message boxes recorded instead of shown.
class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest();
  ~ScreenTest() override;

  // Types the characters into the window as the keyboard would (WM_CHAR each).
  static void Type(HWND window, const std::string& characters);
  // A real key press and release (SendInput), with Ctrl held when asked: it reaches
  // whatever has the focus, as a user's would. Then the program handles it.
  static void Press(WORD key, bool control = false);
  // Pumps messages until the window is gone; false when it did not go.
  static bool WaitGone(HWND window);
  // The element's window position relative to its parent's client area.
  static RECT ClientBounds(HWND child);
  // Adds a vehicle to the test database.
  VehicleRecord StoreVehicle(const std::string& plate, const std::string& description,
                             std::int32_t km, bool withDate);
  // Adds a catalogue entry to the test database and answers it with its ID.
  InterventionType StoreType(const std::string& name, std::int32_t cadence, bool runningIn,
                             const std::string& notes);
  // Records that the vehicle had the catalogue entry done once.
  void StoreDone(const VehicleRecord& vehicle, std::int32_t typeId, std::int32_t km);
  static std::vector<InterventionType> StoredTypes();
  // The window handle of the last recorded message box's owner, and its texts.
  const LumoUtility::MessageBoxRequest* LastBox() const;

  ToolkitStateScope scope;
  TemporaryDirectory root{"screens"};
  MessageBoxRecorder boxes;
  RecordingForm owner;
};
