#include "screens/FormSelezione.h"

#include "screens/FormCommon.h"
#include "toolkit/Button.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kClientWidth = 230;
constexpr int kClientHeight = 300;

}  // namespace

FormSelezione::FormSelezione(const std::string& caption, Form* ownerForm) : OwnedForm(ownerForm) {
  Open(caption, kClientWidth, kClientHeight, 150, 50);
}

FormSelezione::~FormSelezione() { CloseAndDestroyWindow(); }

void FormSelezione::BuildControls() {
  plateLabel = std::make_unique<Label>(this, "Targa:");
  plateLabel->SetPosition(10, 10);
  plateLabel->SetSize(50, 25);
  plateLabel->font = &formFont;
  plateLabel->Create();

  plateList = std::make_unique<ListBox>(this);
  plateList->SetPosition(60, 10);
  plateList->SetSize(160, 250);
  plateList->font = &formFont;
  plateList->onLeftDoubleClick = ListDoubleClickTrampoline<FormSelezione>;
  plateList->Create();

  cancelButton = MakeButton(this, "Annulla", 120, 265, 100, 25, &formFont);

  okButton = MakeButton(this, "OK", 10, 265, 100, 25, &formFont);

  plateList->Focus();
}

void FormSelezione::SetPlates(const std::vector<std::string>& plates) {
  for (const std::string& plate : plates) plateList->AddItem(plate, plate);
  // With one vehicle there is nothing to choose: Enter opens it.
  if (plates.size() == 1 && plateList->window) plateList->SetSelectedIndex(0);
}

void FormSelezione::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == cancelButton.get()) {
    result = kCancelled;
    RequestClose(*this);
    return;
  }
  if (element != okButton.get()) return;
  const int selected = plateList && plateList->window ? plateList->SelectedIndex() : -1;
  if (selected < 0) {
    ShowError("E' necessario selezionare il numero di targa.", kErrorCaption, *this);
    if (plateList) plateList->Focus();
    return;
  }
  chosenVehicle.TARGA = plateList->ItemText(selected);
  chosenVehicle.DESCRIZIONE.clear();
  chosenVehicle.KM = 0;
  chosenVehicle.DATA_KM = DateTimeValue{};
  chosenVehicle.HasDate = false;
  result = kConfirmed;
  RequestClose(*this);
}

void FormSelezione::OnListDoubleClick(GUIElement* list) {
  if (list == plateList.get()) OnCommand(okButton.get());
}

bool FormSelezione::OnFormKeyPress(int character) {
  if (character == kEscape) return FormHandlers::OnFormKeyPress(character);
  if (character == kEnter) OnCommand(okButton.get());
  return true;
}

bool FormSelezione::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  return true;
}

}  // namespace MyApp
