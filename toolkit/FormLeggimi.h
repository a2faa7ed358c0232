#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/Font.h"
#include "toolkit/FormFont.h"
#include "toolkit/FormHandlers.h"

namespace LumoUtility {

class Button;
class Label;
class TextBox;

// The small read-and-accept window that shows the terms of use: a caption, the read-only
// text and the buttons "Accetto" and "Non Accetto". With an owner it is a tool window
// centred over the owner, which stays disabled until this form closes.
class FormLeggimi : public FormHandlers {
 public:
  FormLeggimi(const std::string& title, Form* ownerForm, HINSTANCE instance);
  ~FormLeggimi() override;

  void BuildControls() override;
  void OnCommand(GUIElement* element) override;
  bool OnClosing() override;

  static constexpr int kAccepted = 1;
  static constexpr int kDeclined = 2;

  int result = 0;  // 0 closed otherwise, 1 "Accetto", 2 "Non Accetto"
  Form* owner;
  FontSpec textFont{FormFont().face, FormFont().height};
  std::unique_ptr<Label> caption;
  std::unique_ptr<TextBox> termsText;
  std::unique_ptr<Button> declineButton;
  std::unique_ptr<Button> acceptButton;

 private:
  void CentreOverOwner();
};

}  // namespace LumoUtility
