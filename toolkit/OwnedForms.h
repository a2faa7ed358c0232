#pragma once

namespace LumoUtility {

class Form;

// Owned forms are modal by convention, not by a loop of their own: while one is open its
// owner is disabled and points at it as its companion.
// Called by the owned form's constructor before its window is created: creating it may
// show a message box, during which the owner must already refuse clicks.
void WaitOnOwnedForm(Form& owner, Form& owned);
// Called by the owned form's OnClosing handler: the owner is usable again.
void EndWaitOnOwnedForm(Form& owner);

}  // namespace LumoUtility
