#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/InterventionType.h"
#include "screens/OwnedForm.h"

class MaintenanceStore;

namespace LumoUtility {
class Button;
class CheckBox;
class Label;
class ListBox;
class NumericBox;
class TextBox;
class ToolBar;
class ToolBarItem;
}  // namespace LumoUtility

namespace MyApp {

// Maintains the intervention catalogue: lists it, shows the selected entry, and adds,
// changes and deletes entries, writing through the data store itself. "Chiudi" gives
// kCancelled; the owner reads nothing back.
class FormAnagInterv : public OwnedForm {
 public:
  static constexpr std::int32_t kBrowsing = 0;
  static constexpr std::int32_t kEnteringNew = 1;
  static constexpr std::int32_t kChanging = 2;

  FormAnagInterv(LumoUtility::Form* ownerForm, const std::string& title);
  ~FormAnagInterv() override;

  void BuildControls() override;
  bool OnClosing() override;
  void OnCommand(LumoUtility::GUIElement* element) override;
  // Esc while in "Nuovo" or "Modifica" acts as "Annulla"; in browsing it closes the form.
  bool OnFormKeyPress(int character) override;
  bool OnChildKeyPress(LumoUtility::GUIElement* child, int character) override;
  void OnChildGotFocus(LumoUtility::GUIElement* child) override;
  void OnChildLostFocus(LumoUtility::GUIElement* child) override;

  std::vector<InterventionType> catalogue;
  std::int32_t mode = kBrowsing;
  // The items before the toolbar: the toolbar refers to them, and is destroyed first.
  std::unique_ptr<LumoUtility::ToolBarItem> newItem;
  std::unique_ptr<LumoUtility::ToolBarItem> changeItem;
  std::unique_ptr<LumoUtility::ToolBarItem> deleteItem;
  std::unique_ptr<LumoUtility::ToolBar> toolBar;
  std::unique_ptr<LumoUtility::ListBox> catalogueList;
  std::unique_ptr<LumoUtility::Label> nameLabel;
  std::unique_ptr<LumoUtility::TextBox> nameBox;
  std::unique_ptr<LumoUtility::Label> kmLabel;
  std::unique_ptr<LumoUtility::TextBox> kmBox;
  std::unique_ptr<LumoUtility::NumericBox> kmSpinner;
  // "oppure ogni" [months] "mesi": the kind also falls due by time; empty for none.
  std::unique_ptr<LumoUtility::Label> monthsLabel;
  std::unique_ptr<LumoUtility::TextBox> monthsBox;
  std::unique_ptr<LumoUtility::Label> monthsUnitLabel;
  std::unique_ptr<LumoUtility::CheckBox> runningInBox;
  std::unique_ptr<LumoUtility::Label> notesLabel;
  std::unique_ptr<LumoUtility::TextBox> notesBox;
  std::unique_ptr<LumoUtility::Button> closeButton;
  std::unique_ptr<LumoUtility::Button> saveButton;

 private:
  void ShowSelectedEntry();
  void EnterEditing(std::int32_t newMode);
  void BackToBrowsing();
  void EnableFields(bool enable);
  void ClearFields();
  void SetKm(std::int32_t km);
  bool Validate();
  // The months box as a number (0 for none); only after Validate passed.
  std::int32_t TypedMonths();
  // Stores the entry's months when they changed; a failure is shown and answers false.
  bool StoreMonths(MaintenanceStore& store, std::int32_t entryId, std::int32_t storedMonths,
                   std::int32_t months);
  void Save();
  void DeleteSelected();
  void RefillList(bool selectLast);
  void ReadCatalogue();
};

}  // namespace MyApp
