#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "data/VehicleRecord.h"
#include "screens/OwnedForm.h"

namespace LumoUtility {
class Button;
class DatePicker;
class Label;
class NumericBox;
class TextBox;
}  // namespace LumoUtility

namespace MyApp {

// Enters a new vehicle ("Nuovo Veicolo") or changes the one in use ("Modifica Veicolo",
// after LoadVehicle). The owner stores editedVehicle after the form closed confirmed
// ("OK"); "Annulla" gives kCancelled.
class FormNuovo : public OwnedForm {
 public:
  static constexpr const char* kNewCaption = "Nuovo Veicolo";

  FormNuovo(const std::string& caption, LumoUtility::Form* ownerForm);
  ~FormNuovo() override;

  void LoadVehicle(const VehicleRecord& vehicle);

  void BuildControls() override;
  bool OnClosing() override;
  bool OnFormKeyPress(int character) override;
  bool OnChildKeyPress(LumoUtility::GUIElement* child, int character) override;
  void OnChildGotFocus(LumoUtility::GUIElement* child) override;
  void OnChildLostFocus(LumoUtility::GUIElement* child) override;
  void OnCommand(LumoUtility::GUIElement* element) override;

  VehicleRecord editedVehicle;
  std::unique_ptr<LumoUtility::Label> plateLabel;
  std::unique_ptr<LumoUtility::TextBox> plateBox;
  std::unique_ptr<LumoUtility::Label> descriptionLabel;
  std::unique_ptr<LumoUtility::TextBox> descriptionBox;
  std::unique_ptr<LumoUtility::Label> kmLabel;
  std::unique_ptr<LumoUtility::TextBox> kmBox;
  std::unique_ptr<LumoUtility::NumericBox> kmSpinner;
  std::unique_ptr<LumoUtility::Label> dateLabel;
  std::unique_ptr<LumoUtility::DatePicker> datePicker;
  std::unique_ptr<LumoUtility::Button> cancelButton;
  std::unique_ptr<LumoUtility::Button> okButton;

 private:
  // True when the user confirmed overwriting a stored vehicle with the same plate, or
  // when there is none (or the question does not apply).
  bool MayStorePlate(const std::string& plate);

  // Opened as "Nuovo Veicolo" and not loaded with a stored vehicle since.
  bool enteringNew_ = false;
};

}  // namespace MyApp
