#pragma once
#include <memory>
#include <string>
#include <vector>

#include "screens/OwnedForm.h"

namespace LumoUtility {
class Button;
class ListBox;
}  // namespace LumoUtility

namespace MyApp {

// An automatic copy of the database as the user picks it: its line in the list (date,
// time and size) and its file.
struct CopyChoice {
  std::string text;
  std::wstring path;
};

// Lets the user pick the automatic copy to restore, newest first. Never touches the
// database: the owner restores chosenCopy after the form closed confirmed ("Ripristina",
// Enter or a double click on a copy); "Annulla" and Esc give kCancelled.
class FormCopie : public OwnedForm {
 public:
  FormCopie(LumoUtility::Form* ownerForm, std::vector<CopyChoice> copies);
  ~FormCopie() override;

  void BuildControls() override;
  bool OnClosing() override;
  bool OnFormKeyPress(int character) override;
  void OnCommand(LumoUtility::GUIElement* element) override;
  void OnListDoubleClick(LumoUtility::GUIElement* list);

  std::vector<CopyChoice> copies;
  std::wstring chosenCopy;
  std::unique_ptr<LumoUtility::ListBox> copyList;
  std::unique_ptr<LumoUtility::Button> restoreButton;
  std::unique_ptr<LumoUtility::Button> cancelButton;
};

}  // namespace MyApp
