#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/VehicleRecord.h"
#include "screens/OwnedForm.h"

namespace LumoUtility {
class Button;
class Label;
class ListBox;
}  // namespace LumoUtility

namespace MyApp {

// Lets the user pick the vehicle to work on from the stored plates. Never touches the
// database: the owner hands it the plates and reads the choice after it closed confirmed
// (a plate chosen with "OK"); "Annulla" gives kCancelled.
class FormSelezione : public OwnedForm {
 public:
  FormSelezione(const std::string& caption, LumoUtility::Form* ownerForm);
  ~FormSelezione() override;

  void SetPlates(const std::vector<std::string>& plates);

  void BuildControls() override;
  bool OnClosing() override;
  bool OnFormKeyPress(int character) override;
  void OnCommand(LumoUtility::GUIElement* element) override;
  void OnListDoubleClick(LumoUtility::GUIElement* list);

  VehicleRecord chosenVehicle;
  std::unique_ptr<LumoUtility::Label> plateLabel;
  std::unique_ptr<LumoUtility::ListBox> plateList;
  std::unique_ptr<LumoUtility::Button> okButton;
  std::unique_ptr<LumoUtility::Button> cancelButton;
};

}  // namespace MyApp
