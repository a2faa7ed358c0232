#pragma once
#include <string>

#include "toolkit/Child.h"

namespace LumoUtility {

// A single- or multi-line edit field. Flags changed after creation reach the window
// through ApplyStyle; the length limit through SetMaxLength.
class TextBox : public Child {
 public:
  explicit TextBox(GUIElement* parentElement, const std::string& initialText = "");

  void Create() override;
  // Sets the computed style, the read-only state and the password mask on the window.
  void ApplyStyle();
  // The limit binds typing only, not text the program sets; -1 means no limit.
  void SetMaxLength(int length);
  // The style from the current flags, in the fixed order of the flags below.
  DWORD TextBoxStyle() const;

  int maxLength = -1;
  bool multiline = false;
  bool horizontalScrollBar = false;
  bool verticalScrollBar = false;
  bool readOnly = false;
  bool numbersOnly = false;
  bool password = false;  // applied by ApplyStyle only
  bool lowercase = false;
  bool uppercase = false;   // wins over lowercase
  bool alignRight = false;  // wins over center
  bool center = false;
  bool border = true;
  bool wordWrap = false;  // multi-line only
};

}  // namespace LumoUtility
