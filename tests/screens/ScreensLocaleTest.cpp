// The forms under a user locale of their own: Wine takes it from LC_ALL, which CTest sets
// per run (Italian, and French whose digit-group separator is a kind of space).
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/KmText.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/Grid.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/TextEncoding.h"

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

  static void ChooseType(MyApp::FormIntervento& form, std::int32_t typeId) {
    for (std::size_t i = 0; i < form.catalogue.size(); ++i) {
      if (form.catalogue[i].ID != typeId) continue;
      SendMessageW(form.typeList->window, CB_SETCURSEL, i, 0);
      SendMessageW(form.window, WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(form.typeList->window), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(form.typeList->window));
    }
  }

  // Puts the text on the clipboard and presses Ctrl+V in the window.
  static void PasteWithCtrlV(HWND window, const std::wstring& text) {
    PutOnClipboard(window, text);
    SendMessageW(window, WM_CHAR, 0x16, 1);
  }

  // Opens the main window on the vehicle and answers its schedule grid's cost column,
  // one text per intervention name.
  std::map<std::string, std::string> ScheduleCosts() {
    std::map<std::string, std::string> costs;
    std::unique_ptr<MyApp::FormGrid> main;
    EXPECT_TRUE(OpenMainWindow(main, "Prova"));
    if (!main) return costs;
    ClickTool(*main, main->openButton.get());
    EXPECT_TRUE(main->vehicleSelection);
    if (!main->vehicleSelection) return costs;
    SendMessageW(main->vehicleSelection->plateList->window, LB_SETCURSEL, 0, 0);
    HWND selection = main->vehicleSelection->window;
    SendMessageW(main->vehicleSelection->okButton->window, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(selection));
    for (int row = 0; row < main->grid->RowsBuilt(); ++row) {
      const auto cells = main->grid->GetRowCells(row);
      costs[cells.at(0)->GetTextAnsi()] = cells.at(3)->GetTextAnsi();
    }
    return costs;
  }
};

TEST_F(ScreensLocale, ItalianDescriptionAndKmAreGroupedWithDots) {
  EXPECT_EQ(DescriptionOf(true), "TAGLIANDO - da effettuare ogni 15.000 Km  o a fine rodaggio");
  EXPECT_EQ(DescriptionOf(false), "TAGLIANDO - da effettuare ogni 15.000 Km ");
  std::string shown;
  EXPECT_EQ(KmConfirmedUnchanged(123456, &shown), 123456);
  // Grouped with the Italian dot like the labels and the schedule, and read back so
  // whatever the up-down control itself makes of it.
  EXPECT_EQ(shown, "123.456");
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
    EXPECT_EQ(cells.at(0)->toolTip, "Prossimo: tra 22.000 km");
  }
  EXPECT_TRUE(found);
}

// Costs typed or pasted the ways Italian users do (the keypad's "." included) are stored
// as meant, with every digit, and the schedule shows what was stored.
TEST_F(ScreensLocale, ItalianCostsAreStoredAndShownAsMeant) {
  const VehicleRecord car = StoreVehicle("COSTI1", "", 20000, false);
  const struct {
    const char* text;
    bool pasted;
    double stored;
    const char* shown;
    const char* sql;  // the text spliced into SQL, where it must stay what it always was
  } cases[] = {
      {"12.345,67", false, 12345.67, "12.345,67", nullptr},
      {"45.50", false, 45.5, "45,5", nullptr},
      {"1.234", false, 1234, "1.234", nullptr},
      {"0,1", false, 0.1, "0,1", nullptr},
      {"84,50", true, 84.5, "84,5", nullptr},
      {"999999999", false, 999999999, "999.999.999", nullptr},
      {"84,5", false, 84.5, "84,5", "84.5"},
      {"1234,57", false, 1234.57, "1.234,57", "1234.57"},
  };
  MaintenanceStore reader;
  const std::int32_t vehicleId = reader.FindVehicleIdByPlate(car.TARGA);
  std::map<std::int32_t, double> storedByType;
  for (const auto& c : cases) {
    const InterventionType type = StoreType(std::string("COSTO ") + c.text, 30000, false, "");
    auto form = std::make_unique<MyApp::FormIntervento>(&owner, "Nuovo Intervento");
    ChooseType(*form, type.ID);
    form->kmBox->Focus();
    SetWindowTextW(form->kmBox->window, L"");
    Type(form->kmBox->window, "3000");
    form->costBox->Focus();
    if (c.pasted) {
      PasteWithCtrlV(form->costBox->window, LumoUtility::WidenText(c.text));
    } else {
      SetWindowTextW(form->costBox->window, L"");
      Type(form->costBox->window, c.text);
    }
    EXPECT_EQ(form->costBox->GetTextAnsi(), c.text);
    HWND window = form->window;
    SendMessageW(form->okButton->window, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitGone(window)) << c.text;
    ASSERT_TRUE(boxes.Requests().empty()) << c.text << ": " << LastBox()->text;
    const VehicleIntervention done = form->GetIntervention();
    EXPECT_EQ(done.COSTO, c.stored) << c.text;
    if (c.sql) {
      EXPECT_EQ(LumoUtility::AmountToText(done.COSTO), c.sql);
    }
    MaintenanceStore store;
    ASSERT_TRUE(store.SaveVehicleIntervention(vehicleId, done)) << store.ErrorText();
    storedByType[type.ID] = c.stored;
  }
  for (const ScheduleRow& row : reader.LoadSchedule(vehicleId)) {
    if (storedByType.count(row.ID_INTERVENTO)) {
      EXPECT_EQ(row.COSTO, storedByType[row.ID_INTERVENTO]) << row.INTERVENTO;
    }
  }
  const std::map<std::string, std::string> shown = ScheduleCosts();
  for (const auto& c : cases) {
    const auto line = shown.find(std::string("COSTO ") + c.text);
    ASSERT_NE(line, shown.end()) << c.text;
    EXPECT_EQ(line->second, c.shown) << c.text;
  }
}

// Wine's up-down control writes its steps grouped with "," whatever the user's separator:
// the km figure it leaves is read back, shown the Italian way and saved.
TEST_F(ScreensLocale, ItalianSpinnerArrowsStepAndSave) {
  const VehicleRecord vehicle = StoreVehicle("FRECCE1", "", 12000, false);
  auto form = std::make_unique<MyApp::FormNuovo>("Modifica Veicolo", &owner);
  form->LoadVehicle(vehicle);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "12.000");
  RECT arrows{};
  GetClientRect(form->kmSpinner->window, &arrows);
  const LPARAM upArrow = MAKELPARAM(arrows.right / 2, arrows.bottom / 4);
  SendMessageW(form->kmSpinner->window, WM_LBUTTONDOWN, MK_LBUTTON, upArrow);
  SendMessageW(form->kmSpinner->window, WM_LBUTTONUP, 0, upArrow);
  form->descriptionBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "12.001");
  HWND window = form->window;
  SendMessageW(form->okButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_TRUE(boxes.Requests().empty()) << LastBox()->text;
  ASSERT_EQ(form->result, 1);
  VehicleRecord edited = form->editedVehicle;
  EXPECT_EQ(edited.KM, 12001);
  MaintenanceStore store;
  ASSERT_TRUE(store.SaveVehicle(edited)) << store.ErrorText();
  EXPECT_EQ(store.LoadVehicleByPlate("FRECCE1").KM, 12001);
}

}  // namespace
