#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/Font.h"
#include "toolkit/FormFont.h"
#include "toolkit/FormHandlers.h"

namespace MyApp {

// What every form the main window opens and waits on has in common: the window that made
// it, how the user closed it, and the bold form font its controls borrow. The owner reads
// result once the form's window is gone.
class OwnedForm : public LumoUtility::FormHandlers {
 public:
  static constexpr std::int32_t kClosedOtherwise = 0;
  static constexpr std::int32_t kConfirmed = 1;
  static constexpr std::int32_t kCancelled = 2;

  // Whether the user closed the form with its confirming button: only then has the owner
  // something to store.
  bool Confirmed() const { return result == kConfirmed; }

  std::int32_t result = kClosedOtherwise;
  LumoUtility::Form* owner;
  // In the base, so that it is made before the controls of every form and outlives them.
  LumoUtility::FontSpec formFont{LumoUtility::FormFont().face, LumoUtility::FormFont().height};

 protected:
  // A tool window of the owner's instance (the program's without an owner). The window is
  // made by Open, from the derived constructor: building the controls needs the derived
  // part.
  explicit OwnedForm(LumoUtility::Form* ownerForm);

  // What every form the main window opens does on construction: placed at its owner's
  // top-left corner shifted by (right, down), with the caption, the bold form font, the
  // program's icon and the client size; waited on by its owner (from before its window
  // exists) and created (its controls are built). Settings in which the forms differ are
  // made before the call.
  void Open(const std::string& caption, int clientWidth, int clientHeight, int right, int down);
};

}  // namespace MyApp
