// The forms under a user locale of their own: Wine takes it from LC_ALL, which CTest sets
// per run (Italian, and French whose digit-group separator is a kind of space).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/KmText.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Grid.h"
#include "toolkit/ListBox.h"
#include "screens/FormSelezione.h"
#include "toolkit/Label.h"
#include "toolkit/TextBox.h"

namespace {

class ScreensLocale : public ScreenTest {
 protected:
  // Opens "Modifica Veicolo" on a stored vehicle and confirms it untouched.
  std::int32_t KmConfirmedUnchanged(std::int32_t km, std::string* shown) {
    const VehicleRecord vehicle = StoreVehicle("LOC1", "", km, false);
    auto form = std::make_unique<MyApp::FormNuovo>("Modifica Veicolo", &owner);
    form->LoadVehicle(vehicle);
    *shown = form->kmBox->GetTextAnsi();
    // In and out of the box, as a user passing through it would.
    form->kmBox->Focus();
    form->descriptionBox->Focus();
    HWND window = form->window;
    SendMessageW(form->okButton->window, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(window));
    EXPECT_TRUE(boxes.Requests().empty()) << LastBox()->text << " [" << *shown << "]";
    EXPECT_EQ(form->result, 1);
    return form->editedVehicle.KM;
  }

  std::string DescriptionOf(bool runningIn) {
    const InterventionType type =
        StoreType(runningIn ? "RODAGGIO" : "SENZA", 15000, runningIn, "TAGLIANDO");
    auto form = std::make_unique<MyApp::FormIntervento>(&owner, "Nuovo Intervento");
    for (std::size_t i = 0; i < form->catalogue.size(); ++i) {
      if (form->catalogue[i].ID != type.ID) continue;
      SendMessageW(form->typeList->window, CB_SETCURSEL, i, 0);
      SendMessageW(form->window, WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(form->typeList->window), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(form->typeList->window));
    }
    return form->descriptionLabel->GetTextAnsi();
  }
};

TEST_F(ScreensLocale, ItalianDescriptionAndKmAreGroupedWithDots) {
  EXPECT_EQ(DescriptionOf(true), "TAGLIANDO - da effettuare ogni 15.000 Km  o a fine rodaggio");
  EXPECT_EQ(DescriptionOf(false), "TAGLIANDO - da effettuare ogni 15.000 Km ");
  std::string shown;
  EXPECT_EQ(KmConfirmedUnchanged(123456, &shown), 123456);
  // Grouped with the Italian dot where the spinner reads that back (Windows); plain
  // where it does not (Wine's spinner removes only commas): never a figure read as 0.
  EXPECT_TRUE(shown == "123.456" || shown == "123456") << shown;
}

// Whatever the user's separator, the grouped figure reads back as the same number.
TEST_F(ScreensLocale, AnyGroupedKmReadsBackUnchanged) {
  std::string shown;
  EXPECT_EQ(KmConfirmedUnchanged(987654, &shown), 987654);
  EXPECT_TRUE(shown == MyApp::GroupedKm(987654) || shown == "987654") << shown;
}

// The main window's schedule writes kilometres and costs the Italian way.
TEST_F(ScreensLocale, ItalianScheduleLineGroupsKmAndUsesTheDecimalComma) {
  const VehicleRecord car = StoreVehicle("IT000IT", "", 20000, false);
  const InterventionType type = StoreType("RIGA ITALIANA", 30000, false, "");
  {
    MaintenanceStore store;
    VehicleIntervention done;
    done.ID_INTERVENTO = type.ID;
    done.KM = 12000;
    done.COSTO = 45.5;
    done.DATA = LumoUtility::MakeDate(2024, 3, 9);
    ASSERT_TRUE(store.SaveVehicleIntervention(store.FindVehicleIdByPlate(car.TARGA), done));
  }
  std::unique_ptr<MyApp::FormGrid> main;
  ASSERT_TRUE(OpenMainWindow(main, "Prova"));
  ClickTool(*main, main->openButton.get());
  ASSERT_TRUE(main->vehicleSelection);
  SendMessageW(main->vehicleSelection->plateList->window, LB_SETCURSEL, 0, 0);
  HWND selection = main->vehicleSelection->window;
  SendMessageW(main->vehicleSelection->okButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(selection));
  bool found = false;
  for (int row = 0; row < main->grid->RowsBuilt(); ++row) {
    const auto cells = main->grid->GetRowCells(row);
    if (cells.at(0)->GetTextAnsi() != "RIGA ITALIANA") continue;
    found = true;
    EXPECT_EQ(cells.at(1)->GetTextAnsi(), "09/03/2024");
    EXPECT_EQ(cells.at(2)->GetTextAnsi(), "12.000");
    EXPECT_EQ(cells.at(3)->GetTextAnsi(), "45,5");
  }
  EXPECT_TRUE(found);
}

}  // namespace
