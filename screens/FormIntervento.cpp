#include "screens/FormIntervento.h"

#include <sstream>

#include "data/MaintenanceStore.h"
#include "screens/CatalogueMonths.h"
#include "screens/FormCommon.h"
#include "screens/KmText.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/Label.h"
#include "toolkit/NumericBox.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/SystemDates.h"
#include "toolkit/TextBox.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kClientWidth = 500;
constexpr int kClientHeight = 350;

}  // namespace

std::string TypeDescription(const InterventionType& type, const std::locale& numberLocale) {
  std::ostringstream cadence;
  cadence.imbue(numberLocale);
  cadence << type.CADENZAKM;
  std::string description = type.NOTE + " - da effettuare ogni " + cadence.str() + " Km ";
  if (type.MESI >= 1 && type.MESI <= kMaxMonths)
    description += "o " + IntToText(type.MESI) + " mesi";
  if (type.FINERODAGGIO) description += " o a fine rodaggio";
  return description;
}

std::int32_t KeyNumber(const std::string& key) {
  std::int64_t number = 0;
  for (char character : key) {
    if (character < '0' || character > '9') break;
    number = number * 10 + (character - '0');
    if (number > INT32_MAX) return 0;  // no catalogue ID is that large
  }
  return static_cast<std::int32_t>(number);
}

FormIntervento::FormIntervento(Form* ownerForm, const std::string& title) : OwnedForm(ownerForm) {
  topmost = false;
  Open(title, kClientWidth, kClientHeight, 50, 50);
}

FormIntervento::~FormIntervento() { CloseAndDestroyWindow(); }

void FormIntervento::BuildControls() {
  {
    MaintenanceStore store;
    catalogue = store.ListInterventionTypes();
    if (store.ErrorFlag()) ShowError(store.ErrorText(), kErrorCaption, *this);
    AttachMonths(store, catalogue);
  }

  typeLabel = MakeLabel(this, "Intervento:", 10, 10, 100, 25, &formFont);

  typeList = std::make_unique<ComboBox>(this);
  typeList->SetPosition(110, 10);
  typeList->SetSize(380, 225);
  typeList->listOnly = true;
  typeList->font = &formFont;
  typeList->commandHandler = CommandTrampoline;
  for (const InterventionType& type : catalogue) {
    typeList->AddItem(type.INTERVENTO, IntToText(type.ID));
  }
  typeList->Create();

  descriptionLabel = MakeLabel(this, "", 10, 40, 480, 50, &formFont);
  descriptionLabel->border = true;
  // It shows the catalogue's notes, which may hold "&".
  descriptionLabel->showAmpersands = true;
  descriptionLabel->ApplyStyle();

  kmLabel = MakeLabel(this, "Km:", 10, 105, 80, 25, &formFont);

  kmBox = MakeKmBox(this, 100, 103, &formFont);

  kmSpinner = std::make_unique<NumericBox>(this, kmBox.get());
  kmSpinner->Create();

  dateLabel = MakeLabel(this, "Data:", 205, 105, 75, 25, &formFont);

  datePicker = std::make_unique<DatePicker>(this);
  datePicker->SetPosition(280, 103);
  datePicker->SetSize(110, 25);
  datePicker->date = ToSystemTime(LocalNow());
  datePicker->date.wHour = datePicker->date.wMinute = datePicker->date.wSecond = 0;
  datePicker->date.wMilliseconds = 0;
  datePicker->font = &formFont;
  datePicker->onKeyPress = KeyPressTrampoline;
  datePicker->Create();

  costLabel = MakeLabel(this, "Costo:", 10, 130, 75, 25, &formFont);

  costBox = std::make_unique<CurrencyBox>(this, 0.0);
  costBox->SetPosition(100, 130);
  costBox->SetSize(75, 25);
  costBox->font = &formFont;
  costBox->Create();

  notesLabel = MakeLabel(this, "Note:", 10, 155, 80, 25, &formFont);

  notesBox = std::make_unique<TextBox>(this);
  notesBox->SetPosition(10, 180);
  notesBox->SetSize(480, 100);
  notesBox->uppercase = true;
  notesBox->maxLength = 255;
  notesBox->multiline = true;
  notesBox->verticalScrollBar = true;
  notesBox->horizontalScrollBar = true;
  notesBox->font = &formFont;
  notesBox->onKeyPress = KeyPressTrampoline;
  notesBox->Create();

  cancelButton = MakeButton(this, "Annulla", 390, 315, 100, 25, &formFont);

  okButton = MakeButton(this, "OK", 280, 315, 100, 25, &formFont);

  typeList->Focus();
}

void FormIntervento::ShowSelectedType() {
  const int selected = typeList->SelectedIndex();
  if (selected < 0) return;
  const std::int32_t id = KeyNumber(typeList->ItemKeyAnsi(selected));
  for (const InterventionType& type : catalogue) {
    if (type.ID == id) {
      descriptionLabel->SetText(TypeDescription(type, UserDefaultLocale()));
      return;
    }
  }
}

void FormIntervento::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == typeList.get()) {
    ShowSelectedType();
    return;
  }
  if (element == cancelButton.get()) {
    result = kCancelled;
    RequestClose(*this);
    return;
  }
  if (element != okButton.get()) return;

  const int selected = typeList->SelectedIndex();
  if (selected < 0) {
    ShowError("E' necessario selezionare il tipo di intervento.", kErrorCaption, *this);
    typeList->Focus();
    return;
  }
  intervention.ID_INTERVENTO = KeyNumber(typeList->ItemKeyAnsi(selected));
  std::int32_t km = 0;
  ReadSpinner(*kmSpinner, km);  // a text the spinner cannot read counts as 0
  intervention.KM = km;
  intervention.DATA = DateFromSystemTime(datePicker->GetDate());
  if (intervention.KM == 0) {
    ShowError("E' necessario impostare i Km del veicolo.", kErrorCaption, *this);
    kmBox->Focus();
    return;
  }
  // A pasted sign, exponent or word would be stored as some other amount without a word.
  if (!costBox->HoldsAmount()) {
    ShowError(std::string("Il costo deve essere un importo in cifre, senza segno, ad esempio 84") +
                  costBox->decimalSeparator + "50.",
              kErrorCaption, *this);
    costBox->Focus();
    return;
  }
  intervention.COSTO = costBox->Value();
  intervention.NOTE = notesBox->GetTextAnsi();
  result = kConfirmed;
  RequestClose(*this);
}

void FormIntervento::PreselectKind(std::int32_t kindId) {
  if (kindId < 1) return;
  for (std::size_t index = 0; index < catalogue.size(); ++index) {
    if (catalogue[index].ID == kindId) {
      typeList->SetSelectedIndex(static_cast<int>(index));
      ShowSelectedType();
      return;
    }
  }
}

void FormIntervento::LoadIntervention(const VehicleIntervention& record) {
  intervention.ID = record.ID;
  PreselectKind(record.ID_INTERVENTO);
  intervention.KM = record.KM;
  kmSpinner->SetValue(record.KM);
  ShowGroupedKm(*kmSpinner, record.KM);
  if (record.DATA.year > 1900) {
    intervention.DATA = record.DATA;
    datePicker->SetDate(ToSystemTime(record.DATA));
  }
  intervention.COSTO = record.COSTO;
  costBox->SetText(costBox->Format(record.COSTO));
  intervention.NOTE = record.NOTE;
  notesBox->SetText(record.NOTE);
}

void FormIntervento::OnChildGotFocus(GUIElement* child) {
  if (child == kmBox.get()) {
    // Text the spinner cannot read stays as typed, so that the user can correct it.
    std::int32_t km = 0;
    if (ReadSpinner(*kmSpinner, km)) kmBox->SetText(PlainKm(km));
  }
  FormHandlers::OnChildGotFocus(child);
}

void FormIntervento::OnChildLostFocus(GUIElement* child) {
  if (child != kmBox.get()) return;
  std::int32_t km = 0;
  if (ReadSpinner(*kmSpinner, km)) ShowGroupedKm(*kmSpinner, km);
}

bool FormIntervento::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  return true;
}

}  // namespace MyApp
