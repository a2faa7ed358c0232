// Hostile text and numbers typed and pasted into every field of the forms, stored the way
// the main window stores them and read back through the store and through the forms.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "screens/FormAnagInterv.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/KmText.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/DateTimeValue.h"
#include "toolkit/ListBox.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/TextEncoding.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/UserLocale.h"

using LumoUtility::NarrowText;
using LumoUtility::WidenText;
using MyApp::FormAnagInterv;
using MyApp::FormIntervento;
using MyApp::FormNuovo;
using MyApp::FormSelezione;

namespace {

enum class Entry { Typed, Pasted };

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

// What an upper-case box makes of the text (the edit control converts as it inserts).
std::string Upper(const std::string& text) {
  std::wstring wide = WidenText(text);
  if (!wide.empty()) CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
  return NarrowText(wide);
}

// 255 characters of the program's accented letters and the euro sign, and the same
// pattern in capitals for the boxes that show capitals.
std::wstring AccentedRun(std::size_t length, bool capitals) {
  const std::wstring pattern = capitals ? L"\x00C0\x00C8\x00C9\x00CC\x00D2\x00D9\x20AC"
                                        : L"\x00E0\x00E8\x00E9\x00EC\x00F2\x00F9\x20AC";
  std::wstring run;
  while (run.size() < length) run += pattern[run.size() % pattern.size()];
  return run;
}

class HostileScreenTest : public ScreenTest {
 protected:
  // The characters as the keyboard sends them, one WM_CHAR per UTF-16 unit.
  static void TypeWide(HWND window, const std::wstring& characters) {
    for (wchar_t unit : characters) SendMessageW(window, WM_CHAR, unit, 1);
  }
  // Replaces the whole text of the box with the clipboard's Unicode text, as "Incolla".
  static void Paste(HWND window, const std::wstring& text) {
    bool opened = false;
    for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
      opened = OpenClipboard(window) != FALSE;
      if (!opened) Sleep(10);
    }
    ASSERT_TRUE(opened) << "clipboard busy";
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(memory, nullptr);
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(copy, text.size());
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);  // the clipboard owns it
    CloseClipboard();
    SendMessageW(window, EM_SETSEL, 0, -1);
    SendMessageW(window, WM_PASTE, 0, 0);
  }
  static void Enter(HWND window, const std::wstring& text, Entry entry) {
    if (entry == Entry::Typed) {
      SetWindowTextW(window, L"");
      TypeWide(window, text);
    } else {
      Paste(window, text);
    }
  }
  static std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, &text[0], length + 1)));
    return NarrowText(text);
  }
  static std::string ListWindowItem(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length < 0) return "<no item>";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return NarrowText(text);
  }
  static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

  // Typing past the limit is refused, pasting past it is cut; what the box holds is stored.
  static void FillToTheLimit(HWND box, std::size_t limit, bool capitals, const std::string& label) {
    SCOPED_TRACE(label);
    const std::wstring full = AccentedRun(limit, capitals);
    SetWindowTextW(box, L"");
    for (wchar_t unit : full) SendMessageW(box, WM_CHAR, unit, 1);
    EXPECT_EQ(GetWindowTextLengthW(box), static_cast<int>(limit));
    SendMessageW(box, WM_CHAR, capitals ? L'X' : L'x', 1);
    EXPECT_EQ(GetWindowTextLengthW(box), static_cast<int>(limit));
    // Pasted: longer than the limit, then cut.
    SendMessageW(box, EM_SETSEL, 0, -1);
    Paste(box, AccentedRun(limit + 45, capitals));
    EXPECT_LE(GetWindowTextLengthW(box), static_cast<int>(limit));
    // The box is left holding exactly the limit of the program's letters.
    SetWindowTextW(box, full.c_str());
  }

  // --- Vehicle editor, done as the main window does it -----------------------------------

  // Confirms a new vehicle and stores it; answers the record the form produced.
  VehicleRecord ConfirmAndStoreVehicle(FormNuovo& form) {
    HWND window = form.window;
    Click(form.okButton->window);
    EXPECT_TRUE(WaitGone(window));
    EXPECT_EQ(form.result, 1);
    VehicleRecord vehicle = form.editedVehicle;
    MaintenanceStore store;
    EXPECT_TRUE(store.SaveVehicle(vehicle)) << store.ErrorText();
    EXPECT_GT(vehicle.ID, 0);
    return vehicle;
  }
  // Reopens the stored vehicle in "Modifica Veicolo" and checks what the boxes show.
  void ExpectEditorShows(const std::string& plate, const std::string& description) {
    MaintenanceStore store;
    const VehicleRecord loaded = store.LoadVehicleByPlate(plate);
    ASSERT_FALSE(store.ErrorFlag()) << store.ErrorText();
    EXPECT_EQ(loaded.TARGA, plate);
    EXPECT_EQ(loaded.DESCRIZIONE, description);
    FormNuovo editor("Modifica Veicolo", &owner);
    editor.LoadVehicle(loaded);
    EXPECT_EQ(editor.plateBox->GetTextAnsi(), plate);
    EXPECT_EQ(editor.descriptionBox->GetTextAnsi(), description);
    Click(editor.cancelButton->window);
    WaitGone(editor.window);
  }
  // Picks the plate in "Selezione Veicolo" as the user does and answers the choice.
  std::string ChooseInSelection(const std::string& plate) {
    std::vector<std::string> plates;
    MaintenanceStore store;
    EXPECT_TRUE(store.ListPlates(plates)) << store.ErrorText();
    FormSelezione selection("Selezione Veicolo", &owner);
    selection.SetPlates(plates);
    int index = -1;
    for (int i = 0; i < selection.plateList->ItemCount(); ++i) {
      if (ListWindowItem(selection.plateList->window, i) == plate) index = i;
    }
    EXPECT_NE(index, -1) << "the list does not show the plate";
    if (index < 0) return std::string();
    selection.plateList->SetSelectedIndex(index);
    HWND window = selection.window;
    Click(selection.okButton->window);
    EXPECT_TRUE(WaitGone(window));
    EXPECT_EQ(selection.result, 1);
    return selection.chosenVehicle.TARGA;
  }

  // --- Intervention entry ------------------------------------------------------------------

  static void ChooseFirstType(FormIntervento& form) {
    SendMessageW(form.typeList->window, CB_SETCURSEL, 0, 0);
    SendMessageW(form.window, WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(form.typeList->window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.typeList->window));
  }
  // Stores the confirmed intervention for the vehicle and answers its schedule row.
  static VehicleIntervention StoreAndReload(FormIntervento& form, std::int32_t vehicleId) {
    const VehicleIntervention done = form.GetIntervention();
    MaintenanceStore store;
    EXPECT_TRUE(store.SaveVehicleIntervention(vehicleId, done)) << store.ErrorText();
    for (const VehicleIntervention& row : store.LoadSchedule(vehicleId)) {
      if (row.ID_INTERVENTO == done.ID_INTERVENTO) return row;
    }
    ADD_FAILURE() << "no schedule row for the intervention";
    return VehicleIntervention{};
  }
  std::int32_t StoredVehicleId() {
    const VehicleRecord vehicle = StoreVehicle("HOST1", "", 1000, false);
    return vehicle.ID;
  }

  // --- Catalogue editor ----------------------------------------------------------------------

  static void ClickItem(FormAnagInterv& form, const LumoUtility::ToolBarItem& item) {
    ASSERT_NE(SendMessageW(form.toolBar->window, TB_ISBUTTONENABLED, item.id, 0), 0);
    SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(item.id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.toolBar->window));
  }
  static void ClickListItem(FormAnagInterv& form, int index) {
    HWND list = form.catalogueList->window;
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM where = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(list, WM_LBUTTONUP, 0, where);
  }
  // The catalogue row with the highest ID: the one inserted last.
  static InterventionType NewestType() {
    InterventionType newest;
    for (const InterventionType& entry : StoredTypes()) {
      if (entry.ID > newest.ID) newest = entry;
    }
    return newest;
  }
  // Opens the catalogue editor afresh, selects the entry and checks its fields.
  void ExpectCatalogueShows(const InterventionType& entry) {
    {
      FormAnagInterv editor(&owner, "Gestione Anagrafica Interventi");
      int index = -1;
      for (std::size_t i = 0; i < editor.catalogue.size(); ++i) {
        if (editor.catalogue[i].ID == entry.ID) index = static_cast<int>(i);
      }
      ASSERT_NE(index, -1);
      EXPECT_EQ(ListWindowItem(editor.catalogueList->window, index), entry.INTERVENTO);
      ClickListItem(editor, index);
      EXPECT_EQ(editor.catalogueList->SelectedIndex(), index);
      EXPECT_EQ(editor.nameBox->GetTextAnsi(), entry.INTERVENTO);
      EXPECT_EQ(editor.notesBox->GetTextAnsi(), entry.NOTE);
    }
    // The intervention entry form lists the same name in its type list.
    FormIntervento entryForm(&owner, "Nuovo Intervento");
    bool listed = false;
    for (int i = 0; i < entryForm.typeList->ItemCount(); ++i) {
      listed = listed || NarrowText(entryForm.typeList->ItemText(i)) == entry.INTERVENTO;
    }
    EXPECT_TRUE(listed);
  }
};

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

// --- Lengths ---------------------------------------------------------------------------------

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
  HWND window = form->window;
  Click(form->okButton->window);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_EQ(form->result, 1);
  const VehicleIntervention row = StoreAndReload(*form, vehicleId);
  EXPECT_EQ(row.NOTE, notes);
  auto editor = std::make_unique<FormIntervento>(&owner, "Modifica Intervento");
  editor->LoadIntervention(row);
  EXPECT_EQ(editor->notesBox->GetTextAnsi(), notes);
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
  HWND window = form->window;
  Click(form->okButton->window);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_EQ(form->result, 1);
  const VehicleIntervention row = StoreAndReload(*form, vehicleId);
  EXPECT_EQ(row.NOTE, notes);
  auto editor = std::make_unique<FormIntervento>(&owner, "Modifica Intervento");
  editor->LoadIntervention(row);
  EXPECT_EQ(editor->notesBox->GetTextAnsi(), notes);
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

// --- Numbers ---------------------------------------------------------------------------------

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
struct CostCase {
  const char* name;
  std::string text;  // "." stands for the decimal separator, "," for the grouping one
  bool pasted;
  bool accepted;
  double value;   // what the form takes
  double stored;  // what the store keeps: six significant digits
};

void PrintTo(const CostCase& c, std::ostream* os) { *os << c.name; }

std::vector<CostCase> CostCases() {
  return {
      {"Lettere", "abc", true, false, 0, 0},
      {"Negativo", "-5", true, false, 0, 0},
      {"NumeroELettere", "12abc", true, false, 0, 0},
      {"Esponente", "1e300", true, false, 0, 0},
      {"Spazi", "1 5", true, false, 0, 0},
      {"DueDecimali", "1.2.3", true, false, 0, 0},
      {"SoloSeparatore", ".", true, false, 0, 0},
      {"Sql", "0;DROP", true, false, 0, 0},
      {"Vuoto", "", true, true, 0, 0},
      {"Decimali", "84.5", true, true, 84.5, 84.5},
      {"Raggruppato", "1,234.56", true, true, 1234.56, 1234.56},
      {"DigitatoConLettere", "a-1b2.5x", false, true, 12.5, 12.5},
      {"DigitatoEnorme", "999999999", false, true, 999999999, 1e9},
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
  if (!c.accepted) {
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
  // The user pastes, then clicks "OK": the box loses the focus and rewrites the amount
  // first; a sign is still refused.
  StoredVehicleId();
  auto form = std::make_unique<FormIntervento>(&owner, "Nuovo Intervento");
  ChooseFirstType(*form);
  Enter(form->kmBox->window, L"3000", Entry::Typed);
  form->costBox->Focus();
  Paste(form->costBox->window, L"-84");
  form->okButton->Focus();
  Click(form->okButton->window);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(IsWindow(form->window));
}

}  // namespace
