// Hostile texts typed and pasted into every text field of the forms.
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

// One hostile text: what reaches the field (UTF-16, as from the keyboard or the
// clipboard) and what the program must hold and store (Windows-1252). `shortInput` fits
// a plate (ten units, no blank, which the plate refuses when typed).
struct HostileText {
  const char* name;
  std::wstring input;
  std::string stored;
  std::wstring shortInput;
  std::string shortStored;
};

const HostileText kHostileTexts[] = {
    {"Apostrofi", L"L'AUTO DELL'ANNO '' FINE'", "L'AUTO DELL'ANNO '' FINE'", L"O'BRIEN'",
     "O'BRIEN'"},
    {"Virgolette", L"\"BERLINA\" \"\" 5\"", "\"BERLINA\" \"\" 5\"", L"\"X\"\"Y\"", "\"X\"\"Y\""},
    {"PuntiEVirgola", L"A;B;;C; ;", "A;B;;C; ;", L"A;B;;C;", "A;B;;C;"},
    {"SqlDrop", L"'; DROP TABLE VEICOLO; --", "'; DROP TABLE VEICOLO; --", L"';DROP--", "';DROP--"},
    {"SqlOr", L"x' OR '1'='1", "x' OR '1'='1", L"X'OR'1'='1", "X'OR'1'='1"},
    {"PercentoESottolineato", L"100% _A_ %_ *?", "100% _A_ %_ *?", L"%_%_*", "%_%_*"},
    {"Simboli", L"[NOTE] #1/2/2020# C:\\X\\ |A| {B} & <C> ~^` \"\"",
     "[NOTE] #1/2/2020# C:\\X\\ |A| {B} & <C> ~^` \"\"", L"[A]#|&\\<", "[A]#|&\\<"},
    {"SegnapostiDiFormato", L"%s %n %x %1 {0} %%d \\n", "%s %n %x %1 {0} %%d \\n", L"%S%N%1{0}",
     "%S%N%1{0}"},
    {"AccentiEdEuro", L"\x00E0\x00E8\x00E9\x00EC\x00F2\x00F9 \x20AC 12 \x00C0\x00C8",
     "\xE0\xE8\xE9\xEC\xF2\xF9 \x80 12 \xC0\xC8", L"\x00C0\x00C8\x20AC\x00C9", "\xC0\xC8\x80\xC9"},
    // Characters Windows-1252 cannot hold: each one "?", a surrogate pair one "?" too.
    // U+0100, U+010A, U+010D and U+0127 would turn into NUL, a line feed, a carriage
    // return and an apostrophe if only their low byte were kept.
    {"FuoriCodifica", L"\x0141 \x4E2D\x6587 \xD83D\xDE00 \x0100\x010A\x010D\x0127.", "? ?? ? ????.",
     L"\x0141\x4E2D\xD83D\xDE00\x0100\x010A", "?????"},
    {"BassiByteTraLettere", L"A\u0100B\u010AC\u0127D\u010DE", "A?B?C?D?E", L"A\u0100B\u0127C",
     "A?B?C"},
};

struct HostileCase {
  HostileText text;
  Entry entry;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.text.name << (c.entry == Entry::Typed ? " digitato" : " incollato");
}

std::vector<HostileCase> AllHostileCases() {
  std::vector<HostileCase> cases;
  for (const HostileText& text : kHostileTexts) {
    cases.push_back({text, Entry::Typed});
    cases.push_back({text, Entry::Pasted});
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<HostileCase>& info) {
  return std::string(info.param.text.name) +
         (info.param.entry == Entry::Typed ? "Digitato" : "Incollato");
}

// --- Text fields -----------------------------------------------------------------------------

class HostileTextTest : public HostileScreenTest,
                        public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileTextTest, VehiclePlateAndDescriptionAreStoredAndShownExactly) {
  const HostileCase& c = GetParam();
  auto form = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  Enter(form->plateBox->window, c.text.shortInput, c.entry);
  Enter(form->descriptionBox->window, c.text.input, c.entry);
  const std::string plate = Upper(c.text.shortStored);
  const std::string description = Upper(c.text.stored);
  EXPECT_EQ(form->plateBox->GetTextAnsi(), plate);
  EXPECT_EQ(form->descriptionBox->GetTextAnsi(), description);

  const VehicleRecord vehicle = ConfirmAndStoreVehicle(*form);
  EXPECT_EQ(vehicle.TARGA, plate);
  EXPECT_EQ(vehicle.DESCRIZIONE, description);
  EXPECT_TRUE(boxes.Requests().empty());
  ExpectEditorShows(plate, description);
  EXPECT_EQ(ChooseInSelection(plate), plate);

  // The vehicle table is whole: the vehicle is there once, found by its ID.
  std::vector<std::string> plates;
  ASSERT_TRUE(MaintenanceStore().ListPlates(plates));
  EXPECT_EQ(plates, std::vector<std::string>{plate});
  EXPECT_EQ(MaintenanceStore().FindVehicleIdByPlate(plate), vehicle.ID);
}

TEST_P(HostileTextTest, InterventionNotesAreStoredAndShownExactly) {
  const HostileCase& c = GetParam();
  const std::int32_t vehicleId = StoredVehicleId();
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  Enter(form->kmBox->window, L"1500", Entry::Typed);
  Enter(form->notesBox->window, c.text.input, c.entry);
  const std::string notes = Upper(c.text.stored);
  EXPECT_EQ(form->notesBox->GetTextAnsi(), notes);
  HWND window = form->window;
  Click(form->okButton->window);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_EQ(form->result, 1);
  EXPECT_TRUE(boxes.Requests().empty());

  const VehicleIntervention row = StoreAndReload(*form, vehicleId);
  EXPECT_GT(row.ID, 0);
  EXPECT_EQ(row.NOTE, notes);
  EXPECT_EQ(row.KM, 1500);
  auto editor = std::make_unique<FormIntervento>(&owner, "Modifica Intervento");
  editor->LoadIntervention(row);
  EXPECT_EQ(editor->notesBox->GetTextAnsi(), notes);

  // Confirming the unchanged record updates the same row with the same text.
  window = editor->window;
  Click(editor->okButton->window);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_EQ(editor->result, 1);
  const VehicleIntervention again = StoreAndReload(*editor, vehicleId);
  EXPECT_EQ(again.ID, row.ID);
  EXPECT_EQ(again.NOTE, notes);
}

TEST_P(HostileTextTest, CatalogueNameAndNotesAreStoredAndShownExactly) {
  const HostileCase& c = GetParam();
  const std::size_t before = StoredTypes().size();
  auto form = std::make_unique<FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  ClickItem(*form, *form->newItem);
  Enter(form->nameBox->window, c.text.input, c.entry);
  form->kmBox->Focus();
  Enter(form->kmBox->window, L"7000", Entry::Typed);
  Enter(form->notesBox->window, c.text.input, c.entry);
  EXPECT_EQ(form->nameBox->GetTextAnsi(), c.text.stored);
  EXPECT_EQ(form->notesBox->GetTextAnsi(), c.text.stored);
  Click(form->saveButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Inserimento");
  EXPECT_EQ(form->mode, FormAnagInterv::kBrowsing);

  const InterventionType stored = NewestType();
  EXPECT_EQ(StoredTypes().size(), before + 1);
  EXPECT_EQ(stored.INTERVENTO, c.text.stored);
  EXPECT_EQ(stored.NOTE, c.text.stored);
  EXPECT_EQ(stored.CADENZAKM, 7000);
  // The new entry is selected and shown in the list and the fields.
  const int last = form->catalogueList->ItemCount() - 1;
  EXPECT_EQ(form->catalogueList->SelectedIndex(), last);
  EXPECT_EQ(ListWindowItem(form->catalogueList->window, last), c.text.stored);
  EXPECT_EQ(form->nameBox->GetTextAnsi(), c.text.stored);

  // Changed to the same hostile text in capitals, through "Modifica".
  ClickItem(*form, *form->changeItem);
  Enter(form->notesBox->window, L"NOTA " + c.text.input, c.entry);
  Click(form->saveButton->window);
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(LastBox()->caption, "Modifica");
  const InterventionType changed = NewestType();
  EXPECT_EQ(changed.ID, stored.ID);
  EXPECT_EQ(changed.NOTE, "NOTA " + c.text.stored);
  EXPECT_EQ(changed.INTERVENTO, c.text.stored);
  form.reset();
  ExpectCatalogueShows(changed);
}

INSTANTIATE_TEST_SUITE_P(Testi, HostileTextTest, ::testing::ValuesIn(AllHostileCases()), CaseName);

// --- Blanks and line breaks -----------------------------------------------------------------

// A plate pasted with blanks or line breaks: the plate never holds a blank (typed ones are
// refused), and a single-line box keeps the first line only.
struct PlateCase {
  const char* name;
  std::wstring pasted;
  std::string stored;  // empty: refused as an empty plate
};

void PrintTo(const PlateCase& c, std::ostream* os) { *os << c.name; }

class PastedPlateTest : public HostileScreenTest,
                        public ::testing::WithParamInterface<PlateCase> {};

TEST_P(PastedPlateTest, BlanksNeverReachTheStoredPlate) {
  const PlateCase& c = GetParam();
  auto form = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  Paste(form->plateBox->window, c.pasted);
  TypeWide(form->descriptionBox->window, L"auto");
  if (c.stored.empty()) {
    Click(form->okButton->window);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(LastBox()->text, "E' necessario impostare il numero di targa.");
    EXPECT_EQ(GetFocus(), form->plateBox->window);
    PumpMessagesFor(std::chrono::milliseconds(50));
    EXPECT_TRUE(IsWindow(form->window));
    EXPECT_EQ(form->result, 0);
    std::vector<std::string> plates;
    ASSERT_TRUE(MaintenanceStore().ListPlates(plates));
    EXPECT_TRUE(plates.empty());
    return;
  }
  const VehicleRecord vehicle = ConfirmAndStoreVehicle(*form);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(vehicle.TARGA, c.stored);
  ExpectEditorShows(c.stored, "AUTO");
  EXPECT_EQ(ChooseInSelection(c.stored), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Targhe, PastedPlateTest,
    ::testing::Values(PlateCase{"SoloSpazi", L"   ", ""}, PlateCase{"SoloTab", L"\t\t", ""},
                      PlateCase{"SpaziAttorno", L" ab 12 ", "AB12"},
                      PlateCase{"Tab", L"ab\tc", "ABC"}, PlateCase{"DueRighe", L"AB\r\nCD", "AB"},
                      PlateCase{"RigaVuotaPrima", L"\r\nAB", ""}),
    [](const ::testing::TestParamInfo<PlateCase>& info) { return std::string(info.param.name); });

TEST_F(HostileScreenTest, AStoredPlateWithBlanksIsChangedInPlace) {
  // Data from elsewhere may hold blanks: the editor keeps the plate, so the row is found.
  const VehicleRecord stored = StoreVehicle(" AB 12", "VECCHIA", 100, false);
  auto form = std::make_unique<FormNuovo>("Modifica Veicolo", &owner);
  form->LoadVehicle(MaintenanceStore().LoadVehicleByPlate(" AB 12"));
  Paste(form->descriptionBox->window, L"nuova");
  Paste(form->plateBox->window, L"XY99");  // read-only: nothing pasted
  EXPECT_EQ(form->plateBox->GetTextAnsi(), " AB 12");
  const VehicleRecord changed = ConfirmAndStoreVehicle(*form);
  EXPECT_EQ(changed.TARGA, " AB 12");
  EXPECT_EQ(changed.ID, stored.ID);
  std::vector<std::string> plates;
  ASSERT_TRUE(MaintenanceStore().ListPlates(plates));
  EXPECT_EQ(plates, std::vector<std::string>{" AB 12"});
  ExpectEditorShows(" AB 12", "NUOVA");
}

TEST_F(HostileScreenTest, LineBreaksInMultiLineFieldsAreStoredAndShownExactly) {
  // The vehicle description takes pasted lines.
  auto vehicleForm = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  TypeWide(vehicleForm->plateBox->window, L"RIGHE");
  Paste(vehicleForm->descriptionBox->window, L"riga uno\r\nriga 'due'\r\n\r\n;fine");
  const std::string description = "RIGA UNO\r\nRIGA 'DUE'\r\n\r\n;FINE";
  EXPECT_EQ(vehicleForm->descriptionBox->GetTextAnsi(), description);
  ConfirmAndStoreVehicle(*vehicleForm);
  ExpectEditorShows("RIGHE", description);

  // The intervention notes take Enter.
  const std::int32_t vehicleId = MaintenanceStore().FindVehicleIdByPlate("RIGHE");
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  Enter(form->kmBox->window, L"4000", Entry::Typed);
  form->notesBox->Focus();
  TypeWide(form->notesBox->window, L"uno");
  PostMessageW(form->notesBox->window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PumpMessagesFor(std::chrono::milliseconds(50));
  TypeWide(form->notesBox->window, L"d'ue");
  const std::string notes = form->notesBox->GetTextAnsi();
  EXPECT_EQ(notes, "UNO\r\nD'UE");
  ExpectNotesKept(*form, vehicleId, notes);
}

TEST_F(HostileScreenTest, CatalogueNotesPastedOnSeveralLinesAreStoredOnOne) {
  // Enter is refused in the catalogue notes, which wrap instead; pasted lines join.
  auto form = std::make_unique<FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  ClickItem(*form, *form->newItem);
  TypeWide(form->nameBox->window, L"Righe");
  Enter(form->kmBox->window, L"5000", Entry::Typed);
  Paste(form->notesBox->window, L"prima\r\nseconda\nterza\r\r\nquarta");
  TypeWide(form->notesBox->window, L"\r");
  Click(form->saveButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Inserimento");
  const InterventionType stored = NewestType();
  EXPECT_EQ(stored.NOTE, "prima seconda terza  quarta");
  form.reset();
  ExpectCatalogueShows(stored);
}

TEST_F(HostileScreenTest, AStoredHostilePlateIsNamedInTheQuestionAndOnlyReplacedOnYes) {
  StoreVehicle("%S'\x80;--", "PRIMA", 100, false);
  auto form = std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  Paste(form->plateBox->window, L"%s'\x20AC;--");
  TypeWide(form->descriptionBox->window, L"seconda");
  boxes.QueueAnswer(IDNO);
  Click(form->okButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Conferma");
  EXPECT_EQ(LastBox()->text,
            "Esiste gi\xE0 un veicolo con targa %S'\x80;--. Vuoi sostituirne "
            "descrizione, Km e data con quelli indicati?");
  EXPECT_EQ(MaintenanceStore().LoadVehicleByPlate("%S'\x80;--").DESCRIZIONE, "PRIMA");
  boxes.QueueAnswer(IDYES);
  const VehicleRecord vehicle = ConfirmAndStoreVehicle(*form);
  EXPECT_EQ(vehicle.TARGA, "%S'\x80;--");
  ExpectEditorShows("%S'\x80;--", "SECONDA");
  std::vector<std::string> plates;
  ASSERT_TRUE(MaintenanceStore().ListPlates(plates));
  EXPECT_EQ(plates.size(), 1u);
}

}  // namespace
