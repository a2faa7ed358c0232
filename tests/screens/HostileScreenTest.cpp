#include "tests/screens/HostileScreenTest.h"

#include "tests/support/WindowsTestSupport.h"

#include <commctrl.h>

#include <vector>

#include "screens/FormAnagInterv.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/TextEncoding.h"

using LumoUtility::NarrowText;
using LumoUtility::WidenText;
using MyApp::FormAnagInterv;
using MyApp::FormIntervento;
using MyApp::FormNuovo;
using MyApp::FormSelezione;

std::string Upper(const std::string& text) {
  std::wstring wide = WidenText(text);
  if (!wide.empty()) CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
  return NarrowText(wide);
}

std::wstring AccentedRun(std::size_t length, bool capitals) {
  const std::wstring pattern = capitals ? L"\x00C0\x00C8\x00C9\x00CC\x00D2\x00D9\x20AC"
                                        : L"\x00E0\x00E8\x00E9\x00EC\x00F2\x00F9\x20AC";
  std::wstring run;
  while (run.size() < length) run += pattern[run.size() % pattern.size()];
  return run;
}

void HostileScreenTest::TypeWide(HWND window, const std::wstring& characters) {
  for (wchar_t unit : characters) SendMessageW(window, WM_CHAR, unit, 1);
}

void HostileScreenTest::Paste(HWND window, const std::wstring& text) {
  PutOnClipboard(window, text);
  SendMessageW(window, EM_SETSEL, 0, -1);
  SendMessageW(window, WM_PASTE, 0, 0);
}

void HostileScreenTest::Enter(HWND window, const std::wstring& text, Entry entry) {
  if (entry == Entry::Typed) {
    SetWindowTextW(window, L"");
    TypeWide(window, text);
  } else {
    Paste(window, text);
  }
}

std::string HostileScreenTest::ListWindowItem(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length < 0) return "<no item>";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  return NarrowText(text);
}

void HostileScreenTest::Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void HostileScreenTest::FillToTheLimit(HWND box, std::size_t limit, bool capitals,
                                       const std::string& label) {
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

VehicleRecord HostileScreenTest::ConfirmAndStoreVehicle(FormNuovo& form) {
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

void HostileScreenTest::ExpectEditorShows(const std::string& plate,
                                          const std::string& description) {
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

std::string HostileScreenTest::ChooseInSelection(const std::string& plate) {
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

void HostileScreenTest::ChooseFirstType(FormIntervento& form) {
  SendMessageW(form.typeList->window, CB_SETCURSEL, 0, 0);
  SendMessageW(form.window, WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(form.typeList->window), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(form.typeList->window));
}

VehicleIntervention HostileScreenTest::StoreAndReload(FormIntervento& form,
                                                      std::int32_t vehicleId) {
  const VehicleIntervention done = form.GetIntervention();
  MaintenanceStore store;
  EXPECT_TRUE(store.SaveVehicleIntervention(vehicleId, done)) << store.ErrorText();
  for (const VehicleIntervention& row : store.LoadSchedule(vehicleId)) {
    if (row.ID_INTERVENTO == done.ID_INTERVENTO) return row;
  }
  ADD_FAILURE() << "no schedule row for the intervention";
  return VehicleIntervention{};
}

std::int32_t HostileScreenTest::StoredVehicleId() {
  const VehicleRecord vehicle = StoreVehicle("HOST1", "", 1000, false);
  return vehicle.ID;
}

void HostileScreenTest::ClickItem(FormAnagInterv& form, const LumoUtility::ToolBarItem& item) {
  ASSERT_NE(SendMessageW(form.toolBar->window, TB_ISBUTTONENABLED, item.id, 0), 0);
  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(item.id, BN_CLICKED),
               reinterpret_cast<LPARAM>(form.toolBar->window));
}

void HostileScreenTest::ClickListItem(FormAnagInterv& form, int index) {
  HWND list = form.catalogueList->window;
  SendMessageW(list, LB_SETTOPINDEX, index, 0);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  const LPARAM where = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageW(list, WM_LBUTTONUP, 0, where);
}

InterventionType HostileScreenTest::NewestType() {
  InterventionType newest;
  for (const InterventionType& entry : StoredTypes()) {
    if (entry.ID > newest.ID) newest = entry;
  }
  return newest;
}

void HostileScreenTest::ExpectCatalogueShows(const InterventionType& entry) {
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

void HostileScreenTest::ExpectNotesKept(FormIntervento& form, std::int32_t vehicleId,
                                        const std::string& notes) {
  HWND window = form.window;
  Click(form.okButton->window);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_EQ(form.result, 1);
  const VehicleIntervention row = StoreAndReload(form, vehicleId);
  EXPECT_EQ(row.NOTE, notes);
  auto editor = std::make_unique<FormIntervento>(form.owner, "Modifica Intervento");
  editor->LoadIntervention(row);
  EXPECT_EQ(editor->notesBox->GetTextAnsi(), notes);
}
