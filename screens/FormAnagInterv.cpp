#include "screens/FormAnagInterv.h"

#include <commctrl.h>

#include "data/MaintenanceStore.h"
#include "screens/CatalogueMonths.h"
#include "screens/CommandShortcuts.h"
#include "screens/FormCommon.h"
#include "screens/KmText.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/NumericBox.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/StringReplace.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kClientWidth = 600;
constexpr int kClientHeight = 375;

// Enter is refused in the notes, which wrap instead; pasted line breaks become blanks, so
// that the notes stay one line wherever they are shown.
std::string NotesOnOneLine(TextBox& notes) { return LineBreaksAsBlanks(notes.GetTextAnsi()); }

}  // namespace

FormAnagInterv::FormAnagInterv(Form* ownerForm, const std::string& title) : OwnedForm(ownerForm) {
  topmost = false;
  Open(title, kClientWidth, kClientHeight, 50, 50);
}

FormAnagInterv::~FormAnagInterv() { CloseAndDestroyWindow(); }

void FormAnagInterv::ReadCatalogue() {
  MaintenanceStore store;
  catalogue = store.ListInterventionTypes();
  if (store.ErrorFlag()) ShowError(store.ErrorText(), kErrorCaption, *this);
  AttachMonths(store, catalogue);
}

void FormAnagInterv::BuildControls() {
  ReadCatalogue();

  toolBar = MakePlacedToolBar(this, 10, 10, 190, 25, false);
  toolBar->flat = false;
  newItem = AddToolItem(*toolBar, "Nuovo", STD_FILENEW, kNewShortcut);
  changeItem = AddToolItem(*toolBar, "Modifica", STD_PROPERTIES, kChangeShortcut);
  changeItem->SetEnabled(false);
  deleteItem = AddToolItem(*toolBar, "Cancella", STD_DELETE, kDeleteShortcut);
  deleteItem->SetEnabled(false);
  toolBar->Create();

  catalogueList = std::make_unique<ListBox>(this);
  catalogueList->SetPosition(10, 40);
  catalogueList->SetSize(280, 290);
  catalogueList->font = &formFont;
  catalogueList->commandHandler = CommandTrampoline;
  for (const InterventionType& entry : catalogue) {
    catalogueList->AddItem(entry.INTERVENTO, IntToText(entry.ID));
  }
  catalogueList->Create();

  nameLabel = MakeLabel(this, "Intervento:", 300, 40, 80, 25, &formFont);
  nameLabel->SetEnabled(false);

  nameBox = std::make_unique<TextBox>(this);
  nameBox->SetPosition(300, 65);
  nameBox->SetSize(290, 25);
  nameBox->maxLength = 255;
  nameBox->font = &formFont;
  nameBox->enabled = false;
  nameBox->onKeyPress = KeyPressTrampoline;
  nameBox->onGotFocus = ChildGotFocusTrampoline;
  nameBox->Create();

  kmLabel = MakeLabel(this, "Da effettuare ogni Km:", 300, 105, 170, 25, &formFont);
  kmLabel->SetEnabled(false);

  kmBox = MakeKmBox(this, 470, 103, &formFont, false);

  kmSpinner = std::make_unique<NumericBox>(this, kmBox.get());
  kmSpinner->enabled = false;
  kmSpinner->Create();

  monthsLabel = MakeLabel(this, "oppure ogni", 300, 130, 170, 25, &formFont);
  monthsLabel->SetEnabled(false);

  monthsBox = std::make_unique<TextBox>(this);
  monthsBox->SetPosition(470, 128);
  monthsBox->SetSize(45, 25);
  monthsBox->maxLength = 3;
  monthsBox->numbersOnly = true;
  monthsBox->font = &formFont;
  monthsBox->enabled = false;
  monthsBox->onKeyPress = KeyPressTrampoline;
  monthsBox->onGotFocus = ChildGotFocusTrampoline;
  monthsBox->Create();

  monthsUnitLabel = MakeLabel(this, "mesi", 525, 130, 60, 25, &formFont);
  monthsUnitLabel->SetEnabled(false);

  runningInBox = std::make_unique<CheckBox>(this, "Da effettuare a fine rodaggio");
  runningInBox->SetPosition(300, 155);
  runningInBox->SetSize(250, 25);
  runningInBox->font = &formFont;
  runningInBox->enabled = false;
  runningInBox->Create();

  notesLabel = MakeLabel(this, "Note:", 300, 185, 80, 25, &formFont);
  notesLabel->SetEnabled(false);

  notesBox = std::make_unique<TextBox>(this);
  notesBox->SetPosition(300, 215);
  notesBox->SetSize(290, 110);
  notesBox->maxLength = 255;
  notesBox->multiline = true;
  notesBox->verticalScrollBar = true;
  notesBox->wordWrap = true;
  notesBox->font = &formFont;
  notesBox->enabled = false;
  notesBox->onKeyPress = KeyPressTrampoline;
  notesBox->onGotFocus = ChildGotFocusTrampoline;
  notesBox->Create();

  closeButton = MakeButton(this, "Chiudi", 490, 340, 100, 25, &formFont);

  saveButton = MakeButton(this, "Salva", 380, 340, 100, 25, &formFont);
  if (saveButton->window) ShowWindow(saveButton->window, SW_HIDE);
  saveButton->visible = false;

  catalogueList->Focus();
}

void FormAnagInterv::SetKm(std::int32_t km) {
  kmSpinner->SetValue(km);
  // Plain while edited, grouped otherwise, as the focus handlers write it.
  if (kmBox->window && GetFocus() == kmBox->window) {
    kmBox->SetText(PlainKm(km));
  } else {
    ShowGroupedKm(*kmSpinner, km);
  }
}

void FormAnagInterv::ShowSelectedEntry() {
  const int selected = catalogueList->window ? catalogueList->SelectedIndex() : -1;
  if (selected < 0 || selected >= static_cast<int>(catalogue.size())) return;
  const InterventionType& entry = catalogue[selected];
  nameBox->SetText(entry.INTERVENTO);
  SetKm(entry.CADENZAKM);
  monthsBox->SetText(entry.MESI > 0 ? IntToText(entry.MESI) : std::string());
  runningInBox->SetChecked(entry.FINERODAGGIO);
  notesBox->SetText(entry.NOTE);
  if (!changeItem->enabled) {
    changeItem->SetEnabled(true);
    deleteItem->SetEnabled(true);
    toolBar->RebuildButtons();
  }
}

void FormAnagInterv::ClearFields() {
  nameBox->SetText(std::string());
  SetKm(0);
  monthsBox->SetText(std::string());
  runningInBox->SetChecked(false);
  notesBox->SetText(std::string());
}

void FormAnagInterv::EnableFields(bool enable) {
  nameLabel->SetEnabled(enable);
  nameBox->SetEnabled(enable);
  kmLabel->SetEnabled(enable);
  kmBox->SetEnabled(enable);
  kmSpinner->SetEnabled(enable);
  monthsLabel->SetEnabled(enable);
  monthsBox->SetEnabled(enable);
  monthsUnitLabel->SetEnabled(enable);
  runningInBox->SetEnabled(enable);
  notesLabel->SetEnabled(enable);
  notesBox->SetEnabled(enable);
}

void FormAnagInterv::EnterEditing(std::int32_t newMode) {
  if (!saveButton->window) saveButton->Create();
  ShowWindow(saveButton->window, SW_SHOWNA);
  saveButton->visible = true;
  closeButton->SetText(std::string("Annulla"));
  EnableFields(true);
  if (newMode == kChanging) {
    ShowSelectedEntry();
  } else {
    ClearFields();
  }
  catalogueList->SetEnabled(false);
  newItem->SetEnabled(false);
  changeItem->SetEnabled(false);
  deleteItem->SetEnabled(false);
  toolBar->RebuildButtons();
  mode = newMode;
  nameBox->Focus();
}

void FormAnagInterv::BackToBrowsing() {
  if (saveButton->window) ShowWindow(saveButton->window, SW_HIDE);
  saveButton->visible = false;
  closeButton->SetText(std::string("Chiudi"));
  EnableFields(false);
  catalogueList->SetEnabled(true);
  ClearFields();
  ShowSelectedEntry();
  const bool selection = catalogueList->window && catalogueList->SelectedIndex() >= 0;
  newItem->SetEnabled(true);
  changeItem->SetEnabled(selection);
  deleteItem->SetEnabled(selection);
  toolBar->RebuildButtons();
  mode = kBrowsing;
  // The field or button that had the focus is disabled or hidden now.
  catalogueList->Focus();
}

bool FormAnagInterv::Validate() {
  if (nameBox->GetTextAnsi().empty()) {
    ShowInfo("E' necessario indicare la descrizione.", "Attenzione", *this);
    nameBox->Focus();
    return false;
  }
  std::int32_t km = 0;
  ReadSpinner(*kmSpinner, km);  // a text the spinner cannot read counts as 0
  if (km == 0) {
    ShowInfo("E' necessario indicare per i km un valore maggiore di 0", "Attenzione", *this);
    kmBox->Focus();
    return false;
  }
  if (notesBox->GetTextAnsi().empty()) {
    ShowInfo("E' necessario indicare le note.", "Attenzione", *this);
    notesBox->Focus();
    return false;
  }
  std::int32_t months = 0;
  if (!ReadMonthsText(monthsBox->GetTextAnsi(), months)) {
    ShowInfo("I mesi devono essere compresi fra 1 e " + IntToText(kMaxMonths) + ".", "Attenzione",
             *this);
    monthsBox->Focus();
    return false;
  }
  return true;
}

std::int32_t FormAnagInterv::TypedMonths() {
  std::int32_t months = 0;
  ReadMonthsText(monthsBox->GetTextAnsi(), months);
  return months;
}

bool FormAnagInterv::StoreMonths(MaintenanceStore& store, std::int32_t entryId,
                                 std::int32_t storedMonths, std::int32_t months) {
  // Untouched months send nothing: a catalogue without months is written as it always was.
  if (months == storedMonths) return true;
  if (entryId > 0 && store.SaveInterventionMonths(entryId, months)) return true;
  ShowError("Errore durante il salvataggio dei mesi. " + store.ErrorText(), kErrorCaption, *this);
  return false;
}

void FormAnagInterv::Save() {
  if (mode == kEnteringNew) {
    if (!Validate()) return;
    InterventionType entry;
    entry.ID = 0;
    entry.INTERVENTO = nameBox->GetTextAnsi();
    ReadSpinner(*kmSpinner, entry.CADENZAKM);
    entry.FINERODAGGIO = runningInBox->IsChecked();
    entry.NOTE = NotesOnOneLine(*notesBox);
    MaintenanceStore store;
    if (!store.SaveInterventionType(entry)) {
      ShowError("Errore durante la modifica. " + store.ErrorText(), kErrorCaption, *this);
      return;
    }
    catalogue = store.ListInterventionTypes();
    const bool listed = !store.ErrorFlag();
    const std::string listError = store.ErrorText();
    // The new entry is the last of the list, as the list shows it.
    const std::int32_t newId = listed && !catalogue.empty() ? catalogue.back().ID : 0;
    // The entry is stored either way: the form goes back to browsing, and "Modifica"
    // can set months that did not go in.
    if (StoreMonths(store, newId, 0, TypedMonths())) {
      ShowMessage("Inserimento effettuato correttamente. ", "Inserimento", *this);
    }
    if (!listed) ShowError(listError, kErrorCaption, *this);
    AttachMonths(store, catalogue);
    RefillList(true);
    BackToBrowsing();
  } else if (mode == kChanging) {
    const int selected = catalogueList->SelectedIndex();
    if (!Validate()) return;
    if (selected < 0 || selected >= static_cast<int>(catalogue.size())) return;
    // The row in memory changes only once the store has it: "Annulla" after a failed
    // save must show what is stored, not what was refused.
    InterventionType entry = catalogue[selected];
    entry.INTERVENTO = nameBox->GetTextAnsi();
    ReadSpinner(*kmSpinner, entry.CADENZAKM);
    entry.FINERODAGGIO = runningInBox->IsChecked();
    entry.NOTE = NotesOnOneLine(*notesBox);
    MaintenanceStore store;
    if (!store.SaveInterventionType(entry)) {
      ShowError("Errore durante la modifica. " + store.ErrorText(), kErrorCaption, *this);
      return;
    }
    const std::int32_t months = TypedMonths();
    const bool monthsStored = StoreMonths(store, entry.ID, entry.MESI, months);
    if (monthsStored) entry.MESI = months;
    catalogue[selected] = entry;
    // The rest is stored; the months can be saved again from here.
    if (!monthsStored) return;
    ShowMessage("Modifica effettuata correttamente. ", "Modifica", *this);
    RefillList(false);
    BackToBrowsing();
  }
}

void FormAnagInterv::DeleteSelected() {
  const int selected = catalogueList->window ? catalogueList->SelectedIndex() : -1;
  if (selected < 0 || selected >= static_cast<int>(catalogue.size())) return;
  if (!AskYesNo("Si desidera cancellare l'intervento selezionato?", "Conferma", *this)) return;
  const InterventionType entry = catalogue[selected];
  MaintenanceStore store;
  if (store.DeleteInterventionType(entry)) {
    ShowMessage("Cancellazione effettuata correttamente. ", "Cancellazione", *this);
    catalogue = store.ListInterventionTypes();
    if (store.ErrorFlag()) ShowError(store.ErrorText(), kErrorCaption, *this);
    AttachMonths(store, catalogue);
    RefillList(false);
    BackToBrowsing();
  } else if (!store.ErrorFlag()) {
    ShowError("Impossibile cancellare gli interventi usati.", kErrorCaption, *this);
  } else {
    ShowError("Errore durante la cancellazione. " + store.ErrorText(), kErrorCaption, *this);
  }
}

void FormAnagInterv::RefillList(bool selectLast) {
  const int noted = catalogueList->window ? catalogueList->SelectedIndex() : -1;
  for (int index = catalogueList->ItemCount() - 1; index >= 0; --index) {
    if (!catalogueList->RemoveItem(index)) break;
  }
  for (const InterventionType& entry : catalogue) {
    catalogueList->AddItem(entry.INTERVENTO, IntToText(entry.ID));
  }
  if (catalogue.empty()) return;
  const int last = static_cast<int>(catalogue.size()) - 1;
  int index = selectLast ? last : noted;
  if (index == -1) return;
  if (index > last) index = last;
  if (catalogueList->window) catalogueList->SetSelectedIndex(index);
}

void FormAnagInterv::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == catalogueList.get()) {
    ShowSelectedEntry();
  } else if (element == saveButton.get()) {
    Save();
  } else if (element == closeButton.get()) {
    if (mode != kBrowsing) {
      BackToBrowsing();
    } else {
      result = kCancelled;
      RequestClose(*this);
    }
  } else if (element == newItem.get()) {
    EnterEditing(kEnteringNew);
  } else if (element == changeItem.get()) {
    EnterEditing(kChanging);
  } else if (element == deleteItem.get()) {
    DeleteSelected();
  }
}

bool FormAnagInterv::OnFormKeyPress(int character) {
  // While an entry is being typed, Esc gives up the typing only, as "Annulla" does.
  if (character == kEscape && mode != kBrowsing) {
    BackToBrowsing();
    return true;
  }
  return OwnedForm::OnFormKeyPress(character);
}

bool FormAnagInterv::OnChildKeyPress(GUIElement* child, int character) {
  // Notes hold no line breaks: the text wraps instead.
  if (child == notesBox.get() && character == kEnter) return false;
  return character != kTab;
}

void FormAnagInterv::OnChildGotFocus(GUIElement* child) {
  if (child == kmBox.get()) {
    // Text the spinner cannot read stays as typed, so that the user can correct it.
    std::int32_t km = 0;
    if (ReadSpinner(*kmSpinner, km)) kmBox->SetText(PlainKm(km));
  }
  FormHandlers::OnChildGotFocus(child);
}

void FormAnagInterv::OnChildLostFocus(GUIElement* child) {
  if (child != kmBox.get()) return;
  std::int32_t km = 0;
  if (ReadSpinner(*kmSpinner, km)) ShowGroupedKm(*kmSpinner, km);
}

bool FormAnagInterv::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  return true;
}

}  // namespace MyApp
