#pragma once
#include <string>

#include "toolkit/Child.h"

namespace LumoUtility {

// A static caption. Border and alignment changed after creation reach the window through
// ApplyStyle.
class Label : public Child {
 public:
  Label(GUIElement* parentElement, const std::string& caption);

  void Create() override;
  void ApplyStyle();

  bool border = false;
  bool alignRight = false;
  bool center = false;  // ignored when alignRight is set
  // Shows "&" as itself: for text that is the user's data, not a caption with an access key.
  bool showAmpersands = false;

 private:
  DWORD LabelStyle() const;
};

}  // namespace LumoUtility
