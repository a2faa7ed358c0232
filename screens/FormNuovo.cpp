#include "screens/FormNuovo.h"

#include "data/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "screens/FormCommon.h"
#include "screens/KmText.h"
#include "toolkit/Button.h"
#include "toolkit/DatePicker.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/Label.h"
#include "toolkit/NumericBox.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/SystemDates.h"
#include "toolkit/TextBox.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 250;

}  // namespace

FormNuovo::FormNuovo(const std::string& caption, Form* ownerForm)
    : OwnedForm(ownerForm), enteringNew_(caption == kNewCaption) {
  Open(caption, kClientWidth, kClientHeight, 50, 50);
}

FormNuovo::~FormNuovo() { CloseAndDestroyWindow(); }

void FormNuovo::BuildControls() {
  plateLabel = MakeLabel(this, "Targa:", 10, 10, 80, 25, &formFont);

  plateBox = std::make_unique<TextBox>(this);
  plateBox->SetPosition(100, 8);
  plateBox->SetSize(90, 25);
  plateBox->uppercase = true;
  plateBox->maxLength = 10;
  plateBox->font = &formFont;
  plateBox->onKeyPress = KeyPressTrampoline;
  plateBox->Create();

  descriptionLabel = MakeLabel(this, "Descrizione:", 10, 40, 80, 25, &formFont);

  descriptionBox = std::make_unique<TextBox>(this);
  descriptionBox->SetPosition(10, 65);
  descriptionBox->SetSize(380, 100);
  descriptionBox->uppercase = true;
  descriptionBox->maxLength = 255;
  descriptionBox->multiline = true;
  descriptionBox->verticalScrollBar = true;
  descriptionBox->horizontalScrollBar = true;
  descriptionBox->font = &formFont;
  descriptionBox->onKeyPress = KeyPressTrampoline;
  descriptionBox->Create();

  kmLabel = MakeLabel(this, "Km:", 10, 175, 80, 25, &formFont);

  kmBox = MakeKmBox(this, 100, 172, &formFont);

  kmSpinner = std::make_unique<NumericBox>(this, kmBox.get());
  kmSpinner->Create();

  dateLabel = MakeLabel(this, "Alla data:", 205, 175, 75, 25, &formFont);

  datePicker = std::make_unique<DatePicker>(this);
  datePicker->SetPosition(280, 173);
  datePicker->SetSize(110, 25);
  datePicker->optional = true;
  datePicker->font = &formFont;
  datePicker->onKeyPress = KeyPressTrampoline;
  datePicker->Create();
  datePicker->ClearDate();

  cancelButton = MakeButton(this, "Annulla", 290, 215, 100, 25, &formFont);

  okButton = MakeButton(this, "OK", 180, 215, 100, 25, &formFont);

  // Typing starts with the plate ("Modifica Veicolo" moves on to the description).
  plateBox->Focus();
}

void FormNuovo::LoadVehicle(const VehicleRecord& vehicle) {
  enteringNew_ = false;
  plateBox->SetText(vehicle.TARGA);
  plateBox->readOnly = true;
  plateBox->ApplyStyle();
  descriptionBox->SetText(vehicle.DESCRIZIONE);
  kmSpinner->SetValue(vehicle.KM);
  ShowGroupedKm(*kmSpinner, vehicle.KM);
  if (vehicle.HasDate) {
    SYSTEMTIME date = ToSystemTime(vehicle.DATA_KM);
    date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    datePicker->date = date;
    if (datePicker->window) datePicker->ApplyDate();
  } else {
    datePicker->ClearDate();
  }
  descriptionBox->Focus();
}

void FormNuovo::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == cancelButton.get()) {
    result = kCancelled;
    RequestClose(*this);
    return;
  }
  if (element != okButton.get()) return;

  std::string plate = plateBox->GetTextAnsi();
  // Blanks are refused as typed, but pasted ones get in: a plate of blanks would be a
  // vehicle without a visible plate, and " AB12" another vehicle than "AB12". A stored
  // plate (read-only here) stays as it is, so that the save finds its row.
  if (!plateBox->readOnly) {
    std::string cleaned;
    for (char character : plate) {
      if (character != ' ' && character != '\t') cleaned.push_back(character);
    }
    if (cleaned != plate) plateBox->SetText(cleaned);
    plate = cleaned;
  }
  if (plate.empty()) {
    ShowError("E' necessario impostare il numero di targa.", kErrorCaption, *this);
    plateBox->Focus();
    return;
  }
  // A figure the spinner cannot read would be stored as 0 without a word, and every line
  // of the schedule would then look in order: refused, with the typed text kept.
  // An empty box is a reading of 0, like the spinner's minimum.
  std::int32_t km = 0;
  if (!kmBox->GetTextAnsi().empty() && !ReadSpinner(*kmSpinner, km)) {
    ShowError("Il valore dei Km deve essere un numero intero compreso tra 0 e 1.000.000.",
              kErrorCaption, *this);
    kmBox->Focus();
    return;
  }
  if (!MayStorePlate(plate)) {
    plateBox->Focus();
    return;
  }
  editedVehicle.TARGA = plate;
  editedVehicle.DESCRIZIONE = descriptionBox->GetTextAnsi();
  editedVehicle.KM = km;
  const SYSTEMTIME date = datePicker->GetDate();
  editedVehicle.HasDate = date.wYear != 0;
  // Without a date the record keeps its "no date" default rather than an invalid value.
  editedVehicle.DATA_KM = editedVehicle.HasDate ? DateFromSystemTime(date) : DateTimeValue{};
  result = kConfirmed;
  RequestClose(*this);
}

bool FormNuovo::MayStorePlate(const std::string& plate) {
  if (!enteringNew_) return true;
  MaintenanceStore store;
  // A failed look-up asks nothing: the save that follows reports the store's error.
  if (store.FindVehicleIdByPlate(plate) <= 0 || store.ErrorFlag()) return true;
  return AskYesNo("Esiste già un veicolo con targa " + plate +
                      ". Vuoi sostituirne descrizione, Km e data con quelli indicati?",
                  "Conferma", *this);
}

bool FormNuovo::OnChildKeyPress(GUIElement* child, int character) {
  if (child == plateBox.get() && character == kSpace) return false;
  return character != kTab;
}

void FormNuovo::OnChildGotFocus(GUIElement* child) {
  if (child == kmBox.get()) {
    // Text the spinner cannot read stays as typed, so that the user can correct it.
    std::int32_t km = 0;
    if (ReadSpinner(*kmSpinner, km)) kmBox->SetText(PlainKm(km));
  }
  FormHandlers::OnChildGotFocus(child);
}

void FormNuovo::OnChildLostFocus(GUIElement* child) {
  if (child != kmBox.get()) return;
  std::int32_t km = 0;
  if (ReadSpinner(*kmSpinner, km)) ShowGroupedKm(*kmSpinner, km);
}

bool FormNuovo::OnFormKeyPress(int character) {
  // Enter does not confirm this form.
  if (character == kEscape) return FormHandlers::OnFormKeyPress(character);
  return true;
}

bool FormNuovo::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  return true;
}

}  // namespace MyApp
