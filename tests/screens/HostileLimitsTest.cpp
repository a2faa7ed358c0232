// Fields at their length limits, texts that grow when stored, and dates at the ends of the
// pickers.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "screens/FormAnagInterv.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/KmText.h"
#include "tests/screens/HostileScreenTest.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/ListBox.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/DateTimeValue.h"
#include "toolkit/base/TextEncoding.h"

using LumoUtility::NarrowText;
using LumoUtility::WidenText;
using MyApp::FormAnagInterv;
using MyApp::FormIntervento;
using MyApp::FormNuovo;

namespace {

TEST_F(HostileScreenTest, VehicleFieldsAtTheirLimitsAreStoredWhole) {
  auto form = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  FillToTheLimit(form->plateBox->window, 10, true, "targa");
  FillToTheLimit(form->descriptionBox->window, 255, true, "descrizione");
  const std::string plate = NarrowText(AccentedRun(10, true));
  const std::string description = NarrowText(AccentedRun(255, true));
  ASSERT_EQ(form->descriptionBox->GetTextAnsi(), description);
  ASSERT_EQ(form->plateBox->GetTextAnsi(), plate);
  const VehicleRecord vehicle = ConfirmAndStoreVehicle(*form);
  EXPECT_EQ(vehicle.DESCRIZIONE.size(), 255u);
  ExpectEditorShows(plate, description);
  EXPECT_EQ(ChooseInSelection(plate), plate);

  // The editor changes the description to another full one; the row is updated in place.
  MaintenanceStore store;
  auto editor = std::make_unique<FormNuovo>("Modifica Veicolo", &owner);
  editor->LoadVehicle(store.LoadVehicleByPlate(plate));
  Paste(editor->descriptionBox->window, L"\x20AC" + AccentedRun(300, true));
  const std::string changed = editor->descriptionBox->GetTextAnsi();
  EXPECT_EQ(changed.size(), 255u);
  EXPECT_EQ(changed, NarrowText((L"\x20AC" + AccentedRun(300, true)).substr(0, 255)));
  const VehicleRecord again = ConfirmAndStoreVehicle(*editor);
  EXPECT_EQ(again.ID, vehicle.ID);
  ExpectEditorShows(plate, changed);
}

TEST_F(HostileScreenTest, InterventionNotesAtTheirLimitAreStoredWhole) {
  const std::int32_t vehicleId = StoredVehicleId();
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  Enter(form->kmBox->window, L"2500", Entry::Typed);
  FillToTheLimit(form->notesBox->window, 255, true, "note");
  const std::string notes = NarrowText(AccentedRun(255, true));
  ASSERT_EQ(form->notesBox->GetTextAnsi(), notes);
  ExpectNotesKept(*form, vehicleId, notes);
}

TEST_F(HostileScreenTest, CatalogueFieldsAtTheirLimitsAreStoredWhole) {
  auto form = std::make_unique<FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  ClickItem(*form, *form->newItem);
  FillToTheLimit(form->nameBox->window, 255, false, "nome");
  form->kmBox->Focus();
  Enter(form->kmBox->window, L"15000", Entry::Typed);
  FillToTheLimit(form->notesBox->window, 255, false, "note");
  const std::string text = NarrowText(AccentedRun(255, false));
  ASSERT_EQ(form->nameBox->GetTextAnsi(), text);
  ASSERT_EQ(form->notesBox->GetTextAnsi(), text);
  // The cadence box takes seven digits and no more.
  SetWindowTextW(form->kmBox->window, L"");
  Enter(form->kmBox->window, L"12345678", Entry::Typed);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "1234567");
  SetWindowTextW(form->kmBox->window, L"15000");
  Click(form->saveButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Inserimento");
  const InterventionType stored = NewestType();
  EXPECT_EQ(stored.INTERVENTO, text);
  EXPECT_EQ(stored.NOTE, text);
  EXPECT_EQ(stored.CADENZAKM, 15000);
  form.reset();
  ExpectCatalogueShows(stored);
}

TEST_F(HostileScreenTest, ApostrophesUpToTheLimitAreStoredWhole) {
  // Doubled for the SQL, each text is twice as long as the field.
  const std::string apostrophes(255, '\'');
  auto form = std::make_unique<FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  ClickItem(*form, *form->newItem);
  Paste(form->nameBox->window, std::wstring(300, L'\''));
  Enter(form->kmBox->window, L"5000", Entry::Typed);
  Paste(form->notesBox->window, std::wstring(255, L'\''));
  EXPECT_EQ(form->nameBox->GetTextAnsi(), apostrophes);
  Click(form->saveButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Inserimento");
  const InterventionType stored = NewestType();
  EXPECT_EQ(stored.INTERVENTO, apostrophes);
  EXPECT_EQ(stored.NOTE, apostrophes);
  form.reset();
  ExpectCatalogueShows(stored);

  auto vehicleForm = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  Paste(vehicleForm->plateBox->window, std::wstring(10, L'\''));
  Paste(vehicleForm->descriptionBox->window, std::wstring(255, L'\''));
  ConfirmAndStoreVehicle(*vehicleForm);
  ExpectEditorShows(std::string(10, '\''), apostrophes);
  EXPECT_EQ(ChooseInSelection(std::string(10, '\'')), std::string(10, '\''));
}

TEST_F(HostileScreenTest, NumberBoxesTakeNoMoreThanTheirDigits) {
  auto vehicleForm = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  Enter(vehicleForm->kmBox->window, L"12345678", Entry::Typed);
  EXPECT_EQ(vehicleForm->kmBox->GetTextAnsi(), "1234567");
  Enter(vehicleForm->kmBox->window, L"12a-3 +4", Entry::Typed);  // digits only
  EXPECT_EQ(vehicleForm->kmBox->GetTextAnsi(), "1234");
  vehicleForm.reset();

  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  Enter(form->kmBox->window, L"98765432", Entry::Typed);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "9876543");
  Enter(form->costBox->window, L"1234567890", Entry::Typed);
  EXPECT_EQ(form->costBox->GetTextAnsi(), "123456789");
  Paste(form->costBox->window, L"12345678901234");
  EXPECT_EQ(form->costBox->GetTextAnsi(), "123456789");
}

// The date pickers at the ends of what they offer: the dates are written as text into
// the SQL, so a four-digit year at either end must come back as it went.
TEST_F(HostileScreenTest, DatesAtTheEndsOfThePickerRangeAreStoredAndShownExactly) {
  struct {
    WORD year, month, day;
  } dates[] = {{9999, 12, 31}, {2024, 2, 29}, {1901, 1, 1}};
  const std::int32_t vehicleId = StoredVehicleId();
  int tried = 0;
  for (const auto& d : dates) {
    SCOPED_TRACE(d.year);
    SYSTEMTIME date{};
    date.wYear = d.year;
    date.wMonth = d.month;
    date.wDay = d.day;
    auto vehicleForm = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
    const std::string plate = "D" + std::to_string(d.year);
    TypeWide(vehicleForm->plateBox->window, WidenText(plate));
    vehicleForm->datePicker->SetDate(date);
    const SYSTEMTIME shown = vehicleForm->datePicker->GetDate();
    if (shown.wYear != d.year) continue;  // outside what the picker offers
    ++tried;
    ConfirmAndStoreVehicle(*vehicleForm);
    const VehicleRecord loaded = MaintenanceStore().LoadVehicleByPlate(plate);
    EXPECT_TRUE(loaded.HasDate);
    EXPECT_EQ(loaded.DATA_KM, LumoUtility::MakeDate(d.year, d.month, d.day));
    auto editor = std::make_unique<FormNuovo>("Modifica Veicolo", &owner);
    editor->LoadVehicle(loaded);
    const SYSTEMTIME again = editor->datePicker->GetDate();
    EXPECT_EQ(again.wYear, d.year);
    EXPECT_EQ(again.wMonth, d.month);
    EXPECT_EQ(again.wDay, d.day);
    editor.reset();

    auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
    ChooseFirstType(*form);
    Enter(form->kmBox->window, L"100", Entry::Typed);
    form->datePicker->SetDate(date);
    HWND window = form->window;
    Click(form->okButton->window);
    ASSERT_TRUE(WaitGone(window));
    const VehicleIntervention row = StoreAndReload(*form, vehicleId);
    EXPECT_EQ(row.DATA, LumoUtility::MakeDate(d.year, d.month, d.day));
  }
  EXPECT_GE(tried, 2);
}

}  // namespace
