#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/DatabasePath.h"
#include "data/ProgramStore.h"
#include "screens/FormAnagInterv.h"
#include "screens/KmText.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"

using MyApp::FormAnagInterv;

namespace {

class FormAnagIntervTest : public ScreenTest {
 protected:
  std::unique_ptr<FormAnagInterv> Open() {
    return std::make_unique<FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  }
  static bool ItemEnabled(const FormAnagInterv& form, const LumoUtility::ToolBarItem& item) {
    return SendMessageW(form.toolBar->window, TB_ISBUTTONENABLED, item.id, 0) != 0;
  }
  // A click on a toolbar button: only an enabled button sends its command.
  static void ClickItem(FormAnagInterv& form, const LumoUtility::ToolBarItem& item) {
    if (!ItemEnabled(form, item)) return;
    SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(item.id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.toolBar->window));
  }
  static void ClickButton(const LumoUtility::Button& button) {
    SendMessageW(button.window, BM_CLICK, 0, 0);
  }
  // A real click on the list item (the list reports the change itself).
  static void ClickListItem(FormAnagInterv& form, int index) {
    HWND list = form.catalogueList->window;
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM where = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(list, WM_LBUTTONUP, 0, where);
  }
  static bool FieldsEnabled(const FormAnagInterv& form) {
    return IsWindowEnabled(form.nameBox->window) && IsWindowEnabled(form.kmBox->window) &&
           IsWindowEnabled(form.monthsBox->window) && IsWindowEnabled(form.kmSpinner->window) &&
           IsWindowEnabled(form.runningInBox->window) && IsWindowEnabled(form.notesBox->window) &&
           IsWindowEnabled(form.nameLabel->window) && IsWindowEnabled(form.kmLabel->window) &&
           IsWindowEnabled(form.notesLabel->window);
  }
  static bool FieldsDisabled(const FormAnagInterv& form) {
    return !IsWindowEnabled(form.nameBox->window) && !IsWindowEnabled(form.kmBox->window) &&
           !IsWindowEnabled(form.monthsBox->window) && !IsWindowEnabled(form.kmSpinner->window) &&
           !IsWindowEnabled(form.runningInBox->window) && !IsWindowEnabled(form.notesBox->window) &&
           !IsWindowEnabled(form.nameLabel->window) && !IsWindowEnabled(form.kmLabel->window) &&
           !IsWindowEnabled(form.notesLabel->window);
  }
  static void ExpectShows(FormAnagInterv& form, const InterventionType& entry) {
    EXPECT_EQ(form.nameBox->GetTextAnsi(), entry.INTERVENTO);
    EXPECT_EQ(form.kmBox->GetTextAnsi(), MyApp::GroupedKm(entry.CADENZAKM));
    EXPECT_EQ(form.runningInBox->IsChecked(), entry.FINERODAGGIO);
    EXPECT_EQ(form.notesBox->GetTextAnsi(), entry.NOTE);
  }
  static int IndexOf(const FormAnagInterv& form, std::int32_t id) {
    for (std::size_t i = 0; i < form.catalogue.size(); ++i) {
      if (form.catalogue[i].ID == id) return static_cast<int>(i);
    }
    return -1;
  }
  static InterventionType StoredWithId(std::int32_t id) {
    for (const InterventionType& entry : StoredTypes()) {
      if (entry.ID == id) return entry;
    }
    return InterventionType{};
  }
};

TEST_F(FormAnagIntervTest, OpensBrowsingWithTheCatalogueAndNothingSelected) {
  auto form = Open();
  ASSERT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->GetTextAnsi(), "Gestione Anagrafica Interventi");
  EXPECT_EQ(form->mode, 0);
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(GetWindowLongW(form->window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongW(form->window, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, form.get());
  RECT client{};
  GetClientRect(form->window, &client);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 375);
  RECT outer{};
  RECT own{};
  GetWindowRect(owner.window, &outer);
  GetWindowRect(form->window, &own);
  EXPECT_EQ(own.left, outer.left + 50);
  EXPECT_EQ(own.top, outer.top + 50);

  const RECT bar = ClientBounds(form->toolBar->window);
  EXPECT_EQ(bar.left, 10);
  EXPECT_EQ(bar.top, 10);
  EXPECT_EQ(SendMessageW(form->toolBar->window, TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_EQ(form->newItem->image, STD_FILENEW);
  EXPECT_EQ(form->changeItem->image, STD_PROPERTIES);
  EXPECT_EQ(form->deleteItem->image, STD_DELETE);
  EXPECT_EQ(form->newItem->toolTip, "Nuovo");
  EXPECT_EQ(form->changeItem->toolTip, "Modifica");
  EXPECT_EQ(form->deleteItem->toolTip, "Cancella");
  EXPECT_TRUE(ItemEnabled(*form, *form->newItem));
  EXPECT_FALSE(ItemEnabled(*form, *form->changeItem));
  EXPECT_FALSE(ItemEnabled(*form, *form->deleteItem));

  const std::vector<InterventionType> stored = StoredTypes();
  ASSERT_EQ(form->catalogue.size(), stored.size());
  ASSERT_EQ(SendMessageW(form->catalogueList->window, LB_GETCOUNT, 0, 0), 25);
  EXPECT_EQ(form->catalogueList->ItemText(3), stored[3].INTERVENTO);
  EXPECT_EQ(form->catalogueList->ItemKey(3), std::to_string(stored[3].ID));
  EXPECT_EQ(form->catalogueList->SelectedIndex(), -1);
  EXPECT_EQ(GetFocus(), form->catalogueList->window);
  EXPECT_TRUE(FieldsDisabled(*form));
  EXPECT_EQ(form->nameBox->GetTextAnsi(), "");
  EXPECT_FALSE(IsWindowVisible(form->saveButton->window));
  EXPECT_FALSE(form->saveButton->visible);
  EXPECT_EQ(form->closeButton->GetTextAnsi(), "Chiudi");
  EXPECT_EQ(form->kmLabel->GetTextAnsi(), "Da effettuare ogni Km:");
  EXPECT_EQ(form->runningInBox->GetTextAnsi(), "Da effettuare a fine rodaggio");
  EXPECT_TRUE(GetWindowLongW(form->notesBox->window, GWL_STYLE) & ES_MULTILINE);
  EXPECT_FALSE(GetWindowLongW(form->notesBox->window, GWL_STYLE) & ES_AUTOHSCROLL);  // wraps

  // Choosing an entry shows it in the disabled fields and offers change and delete.
  ClickListItem(*form, 3);
  EXPECT_EQ(form->catalogueList->SelectedIndex(), 3);
  ExpectShows(*form, stored[3]);
  EXPECT_TRUE(FieldsDisabled(*form));
  EXPECT_TRUE(ItemEnabled(*form, *form->changeItem));
  EXPECT_TRUE(ItemEnabled(*form, *form->deleteItem));

  // "Chiudi" closes with result 2.
  HWND window = form->window;
  ClickButton(*form->closeButton);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 2);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
  EXPECT_TRUE(boxes.Requests().empty());

  form = Open();
  window = form->window;
  PostMessageW(form->catalogueList->window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);
}

TEST_F(FormAnagIntervTest, ANewEntryIsValidatedInOrderThenStoredAndSelectedLast) {
  auto form = Open();
  ClickItem(*form, *form->newItem);
  EXPECT_EQ(form->mode, 1);
  EXPECT_TRUE(IsWindowVisible(form->saveButton->window));
  EXPECT_EQ(form->closeButton->GetTextAnsi(), "Annulla");
  EXPECT_TRUE(FieldsEnabled(*form));
  EXPECT_FALSE(IsWindowEnabled(form->catalogueList->window));
  EXPECT_FALSE(ItemEnabled(*form, *form->newItem));
  EXPECT_FALSE(ItemEnabled(*form, *form->changeItem));
  EXPECT_EQ(GetFocus(), form->nameBox->window);

  ClickButton(*form->saveButton);  // everything missing: the name comes first
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario indicare la descrizione.");
  EXPECT_EQ(LastBox()->caption, "Attenzione");
  EXPECT_EQ(LastBox()->owner, form->window);
  EXPECT_EQ(GetFocus(), form->nameBox->window);

  Type(form->nameBox->window, "Controllo freni");
  ClickButton(*form->saveButton);
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(LastBox()->text, "E' necessario indicare per i km un valore maggiore di 0");
  EXPECT_EQ(GetFocus(), form->kmBox->window);

  SetWindowTextA(form->kmBox->window, "12x");  // pasted: no number
  ClickButton(*form->saveButton);
  ASSERT_EQ(boxes.Requests().size(), 3u);
  EXPECT_EQ(LastBox()->text, "E' necessario indicare per i km un valore maggiore di 0");

  SetWindowTextA(form->kmBox->window, "20000");
  SendMessageW(form->runningInBox->window, BM_CLICK, 0, 0);
  ClickButton(*form->saveButton);
  ASSERT_EQ(boxes.Requests().size(), 4u);
  EXPECT_EQ(LastBox()->text, "E' necessario indicare le note.");
  EXPECT_EQ(GetFocus(), form->notesBox->window);
  EXPECT_EQ(form->mode, 1);

  // Enter in the notes inserts nothing.
  Type(form->notesBox->window, "Pastiglie\re dischi");
  EXPECT_EQ(form->notesBox->GetTextAnsi(), "Pastigliee dischi");
  ClickButton(*form->saveButton);
  ASSERT_EQ(boxes.Requests().size(), 5u);
  EXPECT_EQ(LastBox()->text, "Inserimento effettuato correttamente. ");
  EXPECT_EQ(LastBox()->caption, "Inserimento");

  const std::vector<InterventionType> stored = StoredTypes();
  ASSERT_EQ(stored.size(), 26u);
  const InterventionType& added = stored.back();
  EXPECT_EQ(added.INTERVENTO, "Controllo freni");
  EXPECT_EQ(added.CADENZAKM, 20000);
  EXPECT_TRUE(added.FINERODAGGIO);
  EXPECT_EQ(added.NOTE, "Pastigliee dischi");

  EXPECT_EQ(form->mode, 0);
  ASSERT_EQ(SendMessageW(form->catalogueList->window, LB_GETCOUNT, 0, 0), 26);
  EXPECT_EQ(form->catalogueList->SelectedIndex(), 25);
  EXPECT_EQ(form->catalogueList->ItemText(25), form->catalogue[25].INTERVENTO);
  ExpectShows(*form, form->catalogue[25]);
  EXPECT_EQ(form->nameBox->GetTextAnsi(), "Controllo freni");
  EXPECT_TRUE(FieldsDisabled(*form));
  EXPECT_FALSE(IsWindowVisible(form->saveButton->window));
  EXPECT_EQ(form->closeButton->GetTextAnsi(), "Chiudi");
  EXPECT_TRUE(ItemEnabled(*form, *form->newItem));
  EXPECT_TRUE(ItemEnabled(*form, *form->changeItem));
  EXPECT_TRUE(IsWindowEnabled(form->catalogueList->window));
}

TEST_F(FormAnagIntervTest, AnnullaRestoresTheStoredValuesAndAChangeIsStored) {
  auto form = Open();
  ClickListItem(*form, 2);
  const InterventionType original = form->catalogue[2];
  ClickItem(*form, *form->changeItem);
  EXPECT_EQ(form->mode, 2);
  ExpectShows(*form, original);
  EXPECT_TRUE(FieldsEnabled(*form));
  SetWindowTextA(form->nameBox->window, "NOME CAMBIATO");
  form->kmBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), MyApp::PlainKm(original.CADENZAKM));
  SetWindowTextA(form->kmBox->window, "777");
  ClickButton(*form->closeButton);  // "Annulla"
  EXPECT_EQ(form->mode, 0);
  EXPECT_TRUE(IsWindow(form->window));
  ExpectShows(*form, original);
  EXPECT_EQ(form->catalogueList->SelectedIndex(), 2);
  EXPECT_TRUE(boxes.Requests().empty());

  ClickItem(*form, *form->changeItem);
  SetWindowTextA(form->nameBox->window, "NOME CAMBIATO");
  SetWindowTextA(form->kmBox->window, "777");
  ClickButton(*form->saveButton);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "Modifica effettuata correttamente. ");
  EXPECT_EQ(LastBox()->caption, "Modifica");
  EXPECT_EQ(form->mode, 0);
  EXPECT_EQ(form->catalogueList->SelectedIndex(), 2);
  EXPECT_EQ(form->catalogueList->ItemText(2), "NOME CAMBIATO");
  EXPECT_EQ(form->catalogue[2].CADENZAKM, 777);
  const InterventionType changed = StoredWithId(original.ID);
  EXPECT_EQ(changed.INTERVENTO, "NOME CAMBIATO");
  EXPECT_EQ(changed.CADENZAKM, 777);
  EXPECT_EQ(changed.NOTE, original.NOTE);
  ExpectShows(*form, changed);
}

TEST_F(FormAnagIntervTest, AFailedSaveLeavesTheRowAsStored) {
  auto form = Open();
  ClickListItem(*form, 4);
  const InterventionType original = form->catalogue[4];
  ClickItem(*form, *form->changeItem);
  SetWindowTextA(form->nameBox->window, "MAI SALVATO");
  // The database goes away under the form: the save fails.
  const std::wstring stored = DatabasePath;
  DatabasePath = (root / "assente" / "dati.mdb").wstring();
  ClickButton(*form->saveButton);
  DatabasePath = stored;
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->text.rfind("Errore durante la modifica. ", 0), 0u);
  EXPECT_GT(LastBox()->text.size(), std::string("Errore durante la modifica. ").size());
  EXPECT_EQ(form->mode, 2);
  EXPECT_EQ(form->nameBox->GetTextAnsi(), "MAI SALVATO");  // what was typed stays
  EXPECT_EQ(form->catalogue[4].INTERVENTO, original.INTERVENTO);
  ClickButton(*form->closeButton);
  EXPECT_EQ(form->mode, 0);
  ExpectShows(*form, original);
  EXPECT_EQ(form->catalogueList->ItemText(4), original.INTERVENTO);
  EXPECT_EQ(StoredWithId(original.ID).INTERVENTO, original.INTERVENTO);

  // A failed insert keeps the form in its mode as well.
  ClickItem(*form, *form->newItem);
  Type(form->nameBox->window, "NUOVO");
  SetWindowTextA(form->kmBox->window, "100");
  Type(form->notesBox->window, "NOTE");
  DatabasePath = (root / "assente" / "dati.mdb").wstring();
  ClickButton(*form->saveButton);
  DatabasePath = stored;
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(LastBox()->text.rfind("Errore durante la modifica. ", 0), 0u);
  EXPECT_EQ(form->mode, 1);
  EXPECT_EQ(form->catalogue.size(), 25u);
  EXPECT_EQ(StoredTypes().size(), 25u);
}

TEST_F(FormAnagIntervTest, DeletingAsksFirstRefusesUsedEntriesAndSelectsTheNewLastRow) {
  const InterventionType used = StoreType("USATO", 5000, false, "USATO DA UN VEICOLO");
  const InterventionType spare = StoreType("DA CANCELLARE", 8000, false, "ULTIMO");
  StoreDone(StoreVehicle("AB123CD", "", 10000, false), used.ID, 9000);
  auto form = Open();
  const int usedIndex = IndexOf(*form, used.ID);
  ASSERT_GE(usedIndex, 0);
  ClickListItem(*form, usedIndex);

  boxes.QueueAnswer(IDNO);
  ClickItem(*form, *form->deleteItem);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "Si desidera cancellare l'intervento selezionato?");
  EXPECT_EQ(LastBox()->caption, "Conferma");
  EXPECT_EQ(StoredTypes().size(), 27u);

  boxes.QueueAnswer(IDYES);
  ClickItem(*form, *form->deleteItem);
  ASSERT_EQ(boxes.Requests().size(), 3u);
  EXPECT_EQ(LastBox()->text, "Impossibile cancellare gli interventi usati.");
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->owner, form->window);
  EXPECT_EQ(StoredTypes().size(), 27u);
  EXPECT_EQ(form->catalogue.size(), 27u);

  const int last = static_cast<int>(form->catalogue.size()) - 1;
  ASSERT_EQ(form->catalogue[last].ID, spare.ID);
  ClickListItem(*form, last);
  boxes.QueueAnswer(IDYES);
  ClickItem(*form, *form->deleteItem);
  ASSERT_EQ(boxes.Requests().size(), 5u);
  EXPECT_EQ(LastBox()->text, "Cancellazione effettuata correttamente. ");
  EXPECT_EQ(LastBox()->caption, "Cancellazione");
  EXPECT_EQ(StoredTypes().size(), 26u);
  ASSERT_EQ(form->catalogue.size(), 26u);
  ASSERT_EQ(SendMessageW(form->catalogueList->window, LB_GETCOUNT, 0, 0), 26);
  EXPECT_EQ(form->catalogueList->SelectedIndex(), 25);
  ExpectShows(*form, form->catalogue[25]);
  EXPECT_TRUE(ItemEnabled(*form, *form->deleteItem));
  EXPECT_EQ(form->mode, 0);
}

TEST_F(FormAnagIntervTest, AnEmptyCatalogueOffersOnlyNuovo) {
  {
    MaintenanceStore store;
    for (const InterventionType& entry : StoredTypes()) {
      ASSERT_TRUE(store.DeleteInterventionType(entry)) << store.ErrorText();
    }
  }
  auto form = Open();
  EXPECT_EQ(SendMessageW(form->catalogueList->window, LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(ItemEnabled(*form, *form->newItem));
  EXPECT_FALSE(ItemEnabled(*form, *form->changeItem));
  EXPECT_FALSE(ItemEnabled(*form, *form->deleteItem));
  ClickItem(*form, *form->deleteItem);
  EXPECT_TRUE(boxes.Requests().empty());
  ClickItem(*form, *form->newItem);
  EXPECT_EQ(form->mode, 1);
  ClickButton(*form->closeButton);
  EXPECT_EQ(form->mode, 0);
  EXPECT_FALSE(ItemEnabled(*form, *form->changeItem));
  EXPECT_TRUE(IsWindow(form->window));
}

TEST_F(FormAnagIntervTest, MonthsAreEmptyOrFrom1To240AndCheckedLast) {
  auto form = Open();
  ClickItem(*form, *form->newItem);
  Type(form->nameBox->window, "REVISIONE");
  SetWindowTextA(form->kmBox->window, "40000");
  Type(form->monthsBox->window, "a2b4");  // letters cannot be typed
  EXPECT_EQ(form->monthsBox->GetTextAnsi(), "24");
  ClickButton(*form->saveButton);  // the notes are checked first
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario indicare le note.");
  Type(form->notesBox->window, "MOTORIZZAZIONE");
  for (const char* refused : {"0", "241", "2x"}) {  // the last one pasted
    SetWindowTextA(form->monthsBox->window, refused);
    ClickButton(*form->saveButton);
    EXPECT_EQ(LastBox()->text, "I mesi devono essere compresi fra 1 e 240.") << refused;
    EXPECT_EQ(LastBox()->caption, "Attenzione");
    EXPECT_EQ(GetFocus(), form->monthsBox->window);
    EXPECT_EQ(form->mode, 1);
  }
  EXPECT_EQ(boxes.Requests().size(), 4u);
  EXPECT_EQ(StoredTypes().size(), 25u);
}

TEST_F(FormAnagIntervTest, MonthsAreStoredShownClearedAndDeletedWithTheEntry) {
  if (!MaintenanceStore().EnsureMonthsTable()) GTEST_SKIP() << "no months table in this store";
  auto form = Open();
  ClickItem(*form, *form->newItem);
  Type(form->nameBox->window, "REVISIONE");
  SetWindowTextA(form->kmBox->window, "40000");
  Type(form->monthsBox->window, "24");
  Type(form->notesBox->window, "MOTORIZZAZIONE");
  ClickButton(*form->saveButton);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "Inserimento effettuato correttamente. ");
  const std::int32_t id = form->catalogue.back().ID;
  EXPECT_EQ(MaintenanceStore().LoadInterventionMonths().at(id), 24);
  EXPECT_EQ(form->monthsBox->GetTextAnsi(), "24");

  // Reopened, the entry shows its months; "Nuovo" starts without.
  form.reset();
  form = Open();
  ClickListItem(*form, IndexOf(*form, id));
  EXPECT_EQ(form->monthsBox->GetTextAnsi(), "24");
  ClickItem(*form, *form->newItem);
  EXPECT_EQ(form->monthsBox->GetTextAnsi(), "");
  ClickButton(*form->closeButton);

  // Emptied, the months go; given again, they go with the entry.
  ClickItem(*form, *form->changeItem);
  SetWindowTextA(form->monthsBox->window, "");
  ClickButton(*form->saveButton);
  EXPECT_EQ(LastBox()->text, "Modifica effettuata correttamente. ");
  EXPECT_EQ(MaintenanceStore().LoadInterventionMonths().count(id), 0u);
  ClickItem(*form, *form->changeItem);
  SetWindowTextA(form->monthsBox->window, "36");
  ClickButton(*form->saveButton);
  EXPECT_EQ(MaintenanceStore().LoadInterventionMonths().at(id), 36);
  boxes.QueueAnswer(IDYES);
  ClickItem(*form, *form->deleteItem);
  EXPECT_EQ(LastBox()->text, "Cancellazione effettuata correttamente. ");
  DbConnection connection(MaintenanceStore::ConnectionStringFor(DatabasePath), MakeProgramEngine());
  ASSERT_TRUE(connection.OpenConnection());
  EXPECT_EQ(connection.ExecuteCommand("DELETE FROM INTERVENTI_MESI WHERE ID_INTERVENTO=" +
                                      std::to_string(id)),
            0);
  connection.CloseConnection();
}

}  // namespace
