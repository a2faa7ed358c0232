#pragma once
#include <windows.h>

#include <cstddef>
#include <locale>
#include <memory>
#include <string>
#include <vector>

#include "data/VehicleIntervention.h"
#include "screens/HistoryTotals.h"
#include "screens/OwnedForm.h"

namespace LumoUtility {
class Button;
class ListView;
class ToolBar;
class ToolBarItem;
}  // namespace LumoUtility

namespace MyApp {

class FormGrid;
class FormIntervento;

// "Storico interventi": every intervention of the vehicle on display, not only the last
// of each kind, sortable by any column, with the count and cost of each year; any of
// them can be corrected, deleted or exported. Writes through the store itself and has
// the main window show the schedule again after each change.
class FormStorico : public OwnedForm {
 public:
  static constexpr char kTitle[] = "Storico interventi";

  // Owned by ownerForm (the main window, in the program); shows the vehicle of mainForm,
  // whose schedule follows every change (none: an empty history).
  FormStorico(LumoUtility::Form* ownerForm, FormGrid* mainForm);
  ~FormStorico() override;

  void BuildControls() override;
  bool OnClosing() override;
  void OnCommand(LumoUtility::GUIElement* element) override;

  // The two lists' callbacks.
  std::string CellText(const LumoUtility::GUIElement* list, int row, int column) const;
  void OnRowActivated(int row);
  void OnColumnClick(int column);
  // The intervention form opened from here is gone: stores what it confirmed.
  void OnEntryClosed(const OwnedForm& form);

  // As the store lists them, newest first.
  std::vector<VehicleIntervention> history;
  // The rows as shown: indexes into history, in the order of the column chosen.
  std::vector<std::size_t> order;
  HistoryTotals totals;
  int sortColumn = -1;  // -1: as the store lists them
  bool sortDescending = false;

  // The items before the toolbar: the toolbar refers to them, and is destroyed first.
  std::unique_ptr<LumoUtility::ToolBarItem> changeItem;
  std::unique_ptr<LumoUtility::ToolBarItem> deleteItem;
  std::unique_ptr<LumoUtility::ToolBarItem> exportItem;
  std::unique_ptr<LumoUtility::ToolBar> toolBar;
  std::unique_ptr<LumoUtility::ListView> historyList;
  std::unique_ptr<LumoUtility::ListView> totalsList;
  std::unique_ptr<LumoUtility::Button> closeButton;
  std::unique_ptr<FormIntervento> interventionEntry;

 private:
  void BuildToolBar();
  void BuildLists();
  // Reads the history again and shows it in the chosen order with its totals, selecting
  // the record with that ID, or else the row at that place.
  void ReadHistory(std::int32_t selectId, int selectRow);
  // The record of the selected row, or null.
  const VehicleIntervention* SelectedRecord() const;
  void EditRecord(int row);
  void DeleteSelected();
  void Export();
  // The main window's schedule after a change, and this form's lists.
  void AfterChange(std::int32_t selectId, int selectRow);

  FormGrid* mainForm_;
  std::int32_t vehicleId_ = 0;
  std::string plate_;
  // The user's number punctuation, read once: every cell drawn asks for texts.
  std::locale numberLocale_;
  bool tearingDown_ = false;
};

}  // namespace MyApp
