#pragma once
#include "toolkit/GUIElement.h"

namespace LumoUtility {

// Marks elements that live inside a parent window. The parent is stored by the
// classes that derive, from their constructors.
class Child : public GUIElement {
 public:
  Child() : GUIElement(nullptr) {}
};

}  // namespace LumoUtility
