#include "screens/FormCopie.h"

#include <utility>

#include "screens/FormCommon.h"
#include "toolkit/Button.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ListBox.h"
#include "toolkit/OwnedForms.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 300;

}  // namespace

FormCopie::FormCopie(Form* ownerForm, std::vector<CopyChoice> choices)
    : OwnedForm(ownerForm), copies(std::move(choices)) {
  Open("Copie automatiche", kClientWidth, kClientHeight, 150, 50);
}

FormCopie::~FormCopie() { CloseAndDestroyWindow(); }

void FormCopie::BuildControls() {
  copyList = std::make_unique<ListBox>(this);
  copyList->SetPosition(10, 10);
  copyList->SetSize(340, 250);
  copyList->font = &formFont;
  copyList->onLeftDoubleClick = ListDoubleClickTrampoline<FormCopie>;
  copyList->Create();
  for (const CopyChoice& copy : copies) copyList->AddItem(copy.text, copy.text);

  restoreButton = MakeButton(this, "Ripristina", 10, 265, 110, 25, &formFont);
  cancelButton = MakeButton(this, "Annulla", 130, 265, 110, 25, &formFont);

  copyList->Focus();
}

void FormCopie::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == cancelButton.get()) {
    result = kCancelled;
    RequestClose(*this);
    return;
  }
  if (element != restoreButton.get()) return;
  const int selected = copyList && copyList->window ? copyList->SelectedIndex() : -1;
  if (selected < 0 || selected >= static_cast<int>(copies.size())) {
    ShowError("E' necessario selezionare la copia da ripristinare.", kErrorCaption, *this);
    if (copyList) copyList->Focus();
    return;
  }
  chosenCopy = copies[static_cast<std::size_t>(selected)].path;
  result = kConfirmed;
  RequestClose(*this);
}

void FormCopie::OnListDoubleClick(GUIElement* list) {
  if (list == copyList.get()) OnCommand(restoreButton.get());
}

bool FormCopie::OnFormKeyPress(int character) {
  if (character == kEscape) OnCommand(cancelButton.get());
  if (character == kEnter) OnCommand(restoreButton.get());
  return true;
}

bool FormCopie::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  return true;
}

}  // namespace MyApp
