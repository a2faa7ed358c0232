// Hostile figures in the km, cadence and cost fields.
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

// A figure pasted into a km or cadence box (pasting gets past the digits-only style).
struct NumberCase {
  const char* name;
  std::wstring pasted;
  bool accepted;
  std::int32_t value;  // when accepted
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

std::string Thousands() {
  return std::string(1, LumoUtility::UserNumberPunctuation().thousandsSeparator);
}
std::string Decimal() { return std::string(1, LumoUtility::UserNumberPunctuation().decimalPoint); }

std::vector<NumberCase> KmCases() {
  return {
      {"Negativo", L"-5", false, 0},
      {"Lettere", L"12a4", false, 0},
      {"SoloLettere", L"abc", false, 0},
      {"Esponente", L"1e3", false, 0},
      {"Esadecimale", L"0x1F", false, 0},
      {"OltreIlMassimo", L"1000001", false, 0},
      {"TroppeCifre", L"99999999", false, 0},  // cut to seven nines, still too many
      {"Zero", L"0", false, 0},
      {"Apostrofo", L"1'500", false, 0},
      {"SqlNelNumero", L"1;DROP", false, 0},
      {"Massimo", L"1000000", true, 1000000},
      {"ZeriIniziali", L"0007", true, 7},
      {"Raggruppato", WidenText(MyApp::GroupedKm(15000)), true, 15000},
      // In the user's own punctuation: a grouped figure is read, a fraction refused.
      {"RaggruppatoComeLUtente", WidenText("15" + Thousands() + "000"), true, 15000},
      {"ConDecimali", WidenText("1" + Decimal() + "5"), false, 0},
      {"RaggruppatoMale", WidenText("1" + Thousands() + "5"), true, 15},
  };
}

std::string NumberCaseName(const ::testing::TestParamInfo<NumberCase>& info) {
  return info.param.name;
}

class HostileKmTest : public HostileScreenTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(HostileKmTest, VehicleKmIsRefusedWithAMessageOrStored) {
  const NumberCase& c = GetParam();
  auto form = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  TypeWide(form->plateBox->window, L"KM1");
  form->kmBox->Focus();
  Paste(form->kmBox->window, c.pasted);
  const std::string shown = form->kmBox->GetTextAnsi();
  // A zero reading is a valid one for a vehicle.
  const bool accepted = c.accepted || c.pasted == L"0";
  if (!accepted) {
    Click(form->okButton->window);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(LastBox()->text,
              "Il valore dei Km deve essere un numero intero compreso tra 0 e 1.000.000.");
    EXPECT_EQ(LastBox()->caption, "Errore");
    EXPECT_EQ(GetFocus(), form->kmBox->window);
    EXPECT_EQ(form->kmBox->GetTextAnsi(), shown);  // kept for correcting
    PumpMessagesFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(IsWindow(form->window));
    EXPECT_EQ(form->result, 0);
    return;
  }
  const VehicleRecord vehicle = ConfirmAndStoreVehicle(*form);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(vehicle.KM, c.value);
  EXPECT_EQ(MaintenanceStore().LoadVehicleByPlate("KM1").KM, c.value);
}

TEST_P(HostileKmTest, InterventionKmIsRefusedWithAMessageOrStored) {
  const NumberCase& c = GetParam();
  const std::int32_t vehicleId = StoredVehicleId();
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  form->kmBox->Focus();
  Paste(form->kmBox->window, c.pasted);
  if (!c.accepted) {
    Click(form->okButton->window);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(LastBox()->text, "E' necessario impostare i Km del veicolo.");
    EXPECT_EQ(LastBox()->caption, "Errore");
    EXPECT_EQ(GetFocus(), form->kmBox->window);
    PumpMessagesFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(IsWindow(form->window));
    EXPECT_EQ(form->result, 0);
    return;
  }
  HWND window = form->window;
  Click(form->okButton->window);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(StoreAndReload(*form, vehicleId).KM, c.value);
}

TEST_P(HostileKmTest, CatalogueCadenceIsRefusedWithAMessageOrStored) {
  const NumberCase& c = GetParam();
  const std::size_t before = StoredTypes().size();
  auto form = std::make_unique<FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  ClickItem(*form, *form->newItem);
  TypeWide(form->nameBox->window, L"Cadenza");
  TypeWide(form->notesBox->window, L"Nota");
  form->kmBox->Focus();
  Paste(form->kmBox->window, c.pasted);
  Click(form->saveButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  if (!c.accepted) {
    EXPECT_EQ(LastBox()->text, "E' necessario indicare per i km un valore maggiore di 0");
    EXPECT_EQ(LastBox()->caption, "Attenzione");
    EXPECT_EQ(GetFocus(), form->kmBox->window);
    EXPECT_EQ(form->mode, FormAnagInterv::kEnteringNew);
    EXPECT_EQ(StoredTypes().size(), before);
    return;
  }
  EXPECT_EQ(LastBox()->caption, "Inserimento");
  EXPECT_EQ(StoredTypes().size(), before + 1);
  EXPECT_EQ(NewestType().CADENZAKM, c.value);
}

INSTANTIATE_TEST_SUITE_P(Numeri, HostileKmTest, ::testing::ValuesIn(KmCases()), NumberCaseName);

// A cost pasted (or typed) into the currency box; the separators are the box's own.
// What becomes of a cost: a paste of what cannot be typed never enters the box, a text
// that is no amount is refused by "OK", an amount is stored.
enum class CostOutcome { PasteRefused, Message, Stored };

struct CostCase {
  const char* name;
  std::string text;  // "." stands for the decimal separator, "," for the grouping one
  bool pasted;
  CostOutcome outcome;
  double value;   // what the form takes
  double stored;  // what the store keeps
};

void PrintTo(const CostCase& c, std::ostream* os) { *os << c.name; }

std::vector<CostCase> CostCases() {
  return {
      {"Lettere", "abc", true, CostOutcome::PasteRefused, 0, 0},
      {"Negativo", "-5", true, CostOutcome::PasteRefused, 0, 0},
      {"NumeroELettere", "12abc", true, CostOutcome::PasteRefused, 0, 0},
      {"Esponente", "1e300", true, CostOutcome::PasteRefused, 0, 0},
      {"Spazi", "1 5", true, CostOutcome::PasteRefused, 0, 0},
      {"DueDecimali", "1.2.3", true, CostOutcome::Message, 0, 0},
      {"SoloSeparatore", ".", true, CostOutcome::Message, 0, 0},
      {"Sql", "0;DROP", true, CostOutcome::PasteRefused, 0, 0},
      {"Vuoto", "", true, CostOutcome::Stored, 0, 0},
      {"Decimali", "84.5", true, CostOutcome::Stored, 84.5, 84.5},
      {"Raggruppato", "1,234.56", true, CostOutcome::Stored, 1234.56, 1234.56},
      {"DigitatoConLettere", "a-1b2.5x", false, CostOutcome::Stored, 12.5, 12.5},
      {"DigitatoEnorme", "999999999", false, CostOutcome::Stored, 999999999, 999999999},
  };
}

std::string CostCaseName(const ::testing::TestParamInfo<CostCase>& info) { return info.param.name; }

class HostileCostTest : public HostileScreenTest, public ::testing::WithParamInterface<CostCase> {};

TEST_P(HostileCostTest, CostIsRefusedWithAMessageOrStored) {
  const CostCase& c = GetParam();
  const std::int32_t vehicleId = StoredVehicleId();
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  Enter(form->kmBox->window, L"3000", Entry::Typed);
  std::string text = c.text;
  for (char& character : text) {
    if (character == '.') {
      character = form->costBox->decimalSeparator;
    } else if (character == ',') {
      character = form->costBox->thousandsSeparator;
    }
  }
  form->costBox->Focus();
  if (c.pasted) {
    Paste(form->costBox->window, WidenText(text));
  } else {
    SetWindowTextW(form->costBox->window, L"");
    TypeWide(form->costBox->window, WidenText(text));
  }
  if (c.outcome == CostOutcome::PasteRefused) {
    EXPECT_EQ(form->costBox->GetTextAnsi(), "0");
    return;
  }
  if (c.outcome == CostOutcome::Message) {
    const std::string shown = form->costBox->GetTextAnsi();
    Click(form->okButton->window);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(LastBox()->text, std::string("Il costo deve essere un importo in cifre, senza "
                                           "segno, ad esempio 84") +
                                   form->costBox->decimalSeparator + "50.");
    EXPECT_EQ(LastBox()->caption, "Errore");
    EXPECT_EQ(GetFocus(), form->costBox->window);
    EXPECT_EQ(form->costBox->GetTextAnsi(), shown);
    PumpMessagesFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(IsWindow(form->window));
    EXPECT_EQ(form->result, 0);
    return;
  }
  HWND window = form->window;
  Click(form->okButton->window);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_TRUE(boxes.Requests().empty());
  ASSERT_EQ(form->result, 1);
  EXPECT_DOUBLE_EQ(form->GetIntervention().COSTO, c.value);
  const VehicleIntervention row = StoreAndReload(*form, vehicleId);
  EXPECT_DOUBLE_EQ(row.COSTO, c.stored);
  // Shown again in the editor as the box writes amounts.
  auto editor = std::make_unique<FormIntervento>(&owner, "Modifica Intervento");
  editor->LoadIntervention(row);
  EXPECT_DOUBLE_EQ(editor->costBox->Value(), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Costi, HostileCostTest, ::testing::ValuesIn(CostCases()), CostCaseName);

TEST_F(HostileScreenTest, ANegativeCostLeftByTheUserIsRefusedToo) {
  // A sign cannot be pasted, but another program can still set the text; the user then
  // clicks "OK": the box loses the focus and rewrites the amount first; the sign is still
  // refused.
  StoredVehicleId();
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  Enter(form->kmBox->window, L"3000", Entry::Typed);
  form->costBox->Focus();
  Paste(form->costBox->window, L"-84");
  EXPECT_EQ(form->costBox->GetTextAnsi(), "0");
  SetWindowTextW(form->costBox->window, L"-84");
  form->okButton->Focus();
  Click(form->okButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(IsWindow(form->window));
}

}  // namespace
