#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/InterventionType.h"
#include "data/VehicleIntervention.h"
#include "data/VehicleRecord.h"
#include "tests/screens/ScreenTestSupport.h"

namespace LumoUtility {
class ToolBarItem;
}  // namespace LumoUtility
namespace MyApp {
class FormAnagInterv;
class FormIntervento;
class FormNuovo;
}  // namespace MyApp

// Hostile input in the forms' fields: typed or pasted as a user would, stored the way the
// main window stores what the forms produce, and read back through the store and the forms.

enum class Entry { Typed, Pasted };

// What an upper-case box makes of the text (the edit control converts as it inserts).
std::string Upper(const std::string& text);

// The program's accented letters and the euro sign repeated to the length, in capitals
// for the boxes that show capitals.
std::wstring AccentedRun(std::size_t length, bool capitals);

class HostileScreenTest : public ScreenTest {
 protected:
  // The characters as the keyboard sends them, one WM_CHAR per UTF-16 unit.
  static void TypeWide(HWND window, const std::wstring& characters);
  // Replaces the whole text of the box with the clipboard's Unicode text, as "Incolla".
  static void Paste(HWND window, const std::wstring& text);
  static void Enter(HWND window, const std::wstring& text, Entry entry);
  static std::string ListWindowItem(HWND list, int index);
  static void Click(HWND button);

  // Typing past the limit is refused, pasting past it is cut; what the box holds is stored.
  static void FillToTheLimit(HWND box, std::size_t limit, bool capitals, const std::string& label);

  // --- Vehicle editor, done as the main window does it -----------------------------------

  // Confirms a new vehicle and stores it; answers the record the form produced.
  VehicleRecord ConfirmAndStoreVehicle(MyApp::FormNuovo& form);
  // Reopens the stored vehicle in "Modifica Veicolo" and checks what the boxes show.
  void ExpectEditorShows(const std::string& plate, const std::string& description);
  // Picks the plate in "Selezione Veicolo" as the user does and answers the choice.
  std::string ChooseInSelection(const std::string& plate);

  // --- Intervention entry ------------------------------------------------------------------

  static void ChooseFirstType(MyApp::FormIntervento& form);
  // Stores the confirmed intervention for the vehicle and answers its schedule row.
  static VehicleIntervention StoreAndReload(MyApp::FormIntervento& form, std::int32_t vehicleId);
  // Presses "OK" on the intervention form, stores what it produced as the main window does,
  // and checks that the notes come back both from the store and in a reopened form.
  static void ExpectNotesKept(MyApp::FormIntervento& form, std::int32_t vehicleId,
                              const std::string& notes);
  std::int32_t StoredVehicleId();

  // --- Catalogue editor ----------------------------------------------------------------------

  static void ClickItem(MyApp::FormAnagInterv& form, const LumoUtility::ToolBarItem& item);
  static void ClickListItem(MyApp::FormAnagInterv& form, int index);
  // The catalogue row with the highest ID: the one inserted last.
  static InterventionType NewestType();
  // Opens the catalogue editor afresh, selects the entry and checks its fields.
  void ExpectCatalogueShows(const InterventionType& entry);
};
