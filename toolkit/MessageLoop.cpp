#include "toolkit/MessageLoop.h"

#include <windows.h>

#include "toolkit/Form.h"
#include "toolkit/KeyboardShortcut.h"

namespace LumoUtility {

int RunMessageLoop(Form* form) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (DispatchKeyboardShortcut(message)) continue;
    if (form && form->toolWindow && form->window && IsDialogMessageW(form->window, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace LumoUtility
