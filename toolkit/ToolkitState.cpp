#include "toolkit/ToolkitState.h"

#include "toolkit/ElementRegistry.h"
#include "toolkit/Form.h"
#include "toolkit/PanelChildren.h"

namespace LumoUtility {

ToolkitState& Toolkit() {
  static ToolkitState state;
  return state;
}

int TakeNextElementId() { return ++Toolkit().elementIdCounter; }

void ForgetElement(GUIElement* element) {
  ToolkitState& state = Toolkit();
  if (static_cast<GUIElement*>(state.lastActiveForm) == element) state.lastActiveForm = nullptr;
  if (static_cast<GUIElement*>(state.lastActivePanel) == element) state.lastActivePanel = nullptr;
  if (static_cast<GUIElement*>(state.wheelTarget) == element) state.wheelTarget = nullptr;
  for (GUIElement* other : ElementRegistry::Elements()) {
    if (auto* form = dynamic_cast<Form*>(other); form && form->companion == element) {
      form->companion = nullptr;
    }
  }
}

}  // namespace LumoUtility
