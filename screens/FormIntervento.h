#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/InterventionType.h"
#include "data/VehicleIntervention.h"
#include "screens/OwnedForm.h"

namespace LumoUtility {
class Button;
class ComboBox;
class CurrencyBox;
class DatePicker;
class Label;
class NumericBox;
class TextBox;
}  // namespace LumoUtility

namespace MyApp {

// Records one intervention carried out on the vehicle in use ("Nuovo Intervento") or
// corrects one ("Modifica Intervento", after LoadIntervention). Reads the catalogue for
// its list and never writes: the owner stores GetIntervention() after the form closed
// confirmed; "Annulla" gives kCancelled.
class FormIntervento : public OwnedForm {
 public:
  FormIntervento(LumoUtility::Form* ownerForm, const std::string& title);
  ~FormIntervento() override;

  void LoadIntervention(const VehicleIntervention& record);
  // Selects the catalogue kind with that ID and shows its description, as a choice in
  // the list would; the user can still choose another. An unknown ID selects nothing.
  void PreselectKind(std::int32_t kindId);
  VehicleIntervention GetIntervention() const { return intervention; }

  void BuildControls() override;
  bool OnClosing() override;
  void OnCommand(LumoUtility::GUIElement* element) override;
  void OnChildGotFocus(LumoUtility::GUIElement* child) override;
  void OnChildLostFocus(LumoUtility::GUIElement* child) override;

  std::vector<InterventionType> catalogue;
  VehicleIntervention intervention;
  std::unique_ptr<LumoUtility::Label> typeLabel;
  std::unique_ptr<LumoUtility::ComboBox> typeList;
  std::unique_ptr<LumoUtility::Label> descriptionLabel;
  std::unique_ptr<LumoUtility::Label> kmLabel;
  std::unique_ptr<LumoUtility::TextBox> kmBox;
  std::unique_ptr<LumoUtility::NumericBox> kmSpinner;
  std::unique_ptr<LumoUtility::Label> dateLabel;
  std::unique_ptr<LumoUtility::DatePicker> datePicker;
  std::unique_ptr<LumoUtility::Label> costLabel;
  std::unique_ptr<LumoUtility::CurrencyBox> costBox;
  std::unique_ptr<LumoUtility::Label> notesLabel;
  std::unique_ptr<LumoUtility::TextBox> notesBox;
  std::unique_ptr<LumoUtility::Button> cancelButton;
  std::unique_ptr<LumoUtility::Button> okButton;

 private:
  // Shows the selected catalogue row's notes and cadence in the description label.
  void ShowSelectedType();
};

// The description of a catalogue row: its notes, its cadence grouped with the given
// locale, its months when it has any, and whether it also falls due at the end of the
// running-in.
std::string TypeDescription(const InterventionType& type, const std::locale& numberLocale);

// The leading decimal digits of a list key as a number; 0 without digits.
std::int32_t KeyNumber(const std::string& key);

}  // namespace MyApp
