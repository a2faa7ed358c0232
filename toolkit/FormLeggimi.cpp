#include "toolkit/FormLeggimi.h"

#include "toolkit/Button.h"
#include "toolkit/Label.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/ResourceIds.h"
#include "toolkit/TextBox.h"
#include "toolkit/base/TermsOfUseText.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 250;
constexpr int kTermsMaxLength = 255;  // binds typing only; the text is read-only anyway

}  // namespace

FormLeggimi::FormLeggimi(const std::string& title, Form* ownerForm, HINSTANCE instance)
    : FormHandlers(instance, ownerForm != nullptr), owner(ownerForm) {
  WireFormHandlers();
  topmost = false;
  minimizeBox = true;
  maximizeBox = false;
  keyPreview = true;
  textFont.bold = true;
  text = WidenText(title);
  iconId = kProgramIconId;
  Create();
  SetIcon(kProgramIconId);
  SetClientSize(kClientWidth, kClientHeight);
  CentreOverOwner();
  if (owner) WaitOnOwnedForm(*owner, *this);
  if (acceptButton) acceptButton->Focus();
}

FormLeggimi::~FormLeggimi() { CloseAndDestroyWindow(); }

void FormLeggimi::CentreOverOwner() {
  if (!owner || !owner->window) {
    CenterOnScreen();
    return;
  }
  RECT ownerBounds{};
  RECT ownBounds{};
  GetWindowRect(owner->window, &ownerBounds);
  GetWindowRect(window, &ownBounds);
  const int ownWidth = ownBounds.right - ownBounds.left;
  const int ownHeight = ownBounds.bottom - ownBounds.top;
  SetPosition(ownerBounds.left + (ownerBounds.right - ownerBounds.left - ownWidth) / 2,
              ownerBounds.top + (ownerBounds.bottom - ownerBounds.top - ownHeight) / 2);
}

void FormLeggimi::BuildControls() {
  caption = std::make_unique<Label>(this, "Condizioni di utilizzo:");
  caption->SetPosition(10, 10);
  caption->SetSize(280, 25);
  caption->Create();

  termsText = std::make_unique<TextBox>(this, "");
  termsText->SetPosition(10, 30);
  termsText->SetSize(380, 180);
  termsText->readOnly = true;
  termsText->multiline = true;
  termsText->verticalScrollBar = true;
  // Without a horizontal scroll bar, unwrapped lines would hide their ends.
  termsText->wordWrap = true;
  termsText->maxLength = kTermsMaxLength;
  termsText->font = &textFont;
  termsText->onKeyPress = KeyPressTrampoline;
  termsText->Create();
  // Set once the box has its font: a text given at creation is laid out (wrapped) twice,
  // in the system font and again in this one, which is most of the window's start time.
  termsText->SetText(TermsOfUseText());

  declineButton = std::make_unique<Button>(this, "Non Accetto");
  declineButton->SetPosition(290, 215);
  declineButton->SetSize(100, 25);
  declineButton->commandHandler = CommandTrampoline;
  declineButton->Create();

  acceptButton = std::make_unique<Button>(this, "Accetto");
  acceptButton->SetPosition(180, 215);
  acceptButton->SetSize(100, 25);
  acceptButton->commandHandler = CommandTrampoline;
  acceptButton->Create();
}

void FormLeggimi::OnCommand(GUIElement* element) {
  if (element == declineButton.get()) {
    result = kDeclined;
  } else if (element == acceptButton.get()) {
    result = kAccepted;
  } else {
    return;
  }
  // Posted, not sent: the button's own click is still on the stack, and the close
  // destroys the button's window.
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
}

bool FormLeggimi::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  return true;
}

}  // namespace LumoUtility
