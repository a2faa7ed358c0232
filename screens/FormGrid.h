#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "data/VehicleIntervention.h"
#include "data/VehicleRecord.h"
#include "screens/ScheduleLines.h"
#include "toolkit/Font.h"
#include "toolkit/FormFont.h"
#include "toolkit/FormHandlers.h"
#include "toolkit/GdiObjects.h"

namespace LumoUtility {
class FormLeggimi;
class Grid;
class Menu;
class MenuBar;
class SubMenu;
class ToolBar;
class ToolBarItem;
}  // namespace LumoUtility

namespace MyApp {

class FormAnagInterv;
class FormCopie;
class FormIntervento;
class FormNuovo;
class FormSelezione;
class FormStorico;
class OwnedForm;
struct CopyChoice;

// The main window: the schedule of the vehicle in use, the toolbar that drives the
// vehicle work, the menu, and the child forms it opens. It does the database work for
// the vehicle editor, the selection and the intervention form when they close accepted.
class FormGrid : public LumoUtility::FormHandlers {
 public:
  // The commands of the "Opzioni" menu that work on the database file as a whole; the
  // program supplies them at start-up. A command left empty does nothing.
  struct HousekeepingCommands {
    void (*backup)(HWND owner);
    void (*restore)(HWND owner);
    // The automatic copies of the database, newest first, and the restore of one of them.
    std::vector<CopyChoice> (*listCopies)();
    void (*restoreCopy)(HWND owner, const std::wstring& copy);
  };

  FormGrid(HINSTANCE instance, const std::string& caption, HousekeepingCommands commands = {});
  ~FormGrid() override;

  void BuildControls() override;
  bool OnClosing() override;
  void OnPaint() override;
  void OnCommand(LumoUtility::GUIElement* element) override;
  void OnMenuCommand(LumoUtility::GUIElement* item) override;
  void OnGridRowSelected(LumoUtility::GUIElement* grid, int row) override;
  void OnGridRowActivated(LumoUtility::GUIElement* grid, int row) override;
  // Does the database work for a child form that closed confirmed (the vehicle editor,
  // the selection, the intervention form); the others leave nothing to do.
  void OnChildFormClosed(const OwnedForm& form);
  // Closes the program, without asking, when the user did not accept the terms.
  void OnTermsViewerClosed(const LumoUtility::FormLeggimi& viewer);

  void ShowVehicle(bool resetSelection);
  void CloseVehicle();
  void FillSchedule();

  // Stores an intervention of the vehicle in use, new or corrected, and offers to bring
  // the vehicle's km up to it, as a save from the grid does; the boxes belong to the form
  // the user works in. False (the error shown) when it was not stored.
  bool StoreIntervention(const VehicleIntervention& done, const LumoUtility::GUIElement& boxOwner);
  // Reads the schedule of the vehicle in use again and redraws the grid, keeping its
  // selected line and leaving the focus where it is: the history changed.
  void RefreshSchedule(const LumoUtility::GUIElement& boxOwner);

  // The background picture at its place in a client area of the given context.
  void PaintBackground(HDC dc);

  std::string baseTitle;
  HousekeepingCommands housekeeping;
  VehicleRecord currentVehicle;
  std::vector<ScheduleRow> schedule;
  // The catalogue kinds due by time as well, read with the schedule.
  MonthsByKind scheduleMonths;
  bool closeWithoutAsking = false;
  // Before everything that draws with it, so that it outlives them.
  LumoUtility::FontSpec formFont{LumoUtility::FormFont().face, LumoUtility::FormFont().height};
  LumoUtility::OwnedBitmap backgroundBitmap;
  LumoUtility::OwnedBitmap inOrderIcon;
  LumoUtility::OwnedBitmap dueIcon;

  std::unique_ptr<LumoUtility::MenuBar> menuBar;
  std::unique_ptr<LumoUtility::Menu> fileMenu;
  std::unique_ptr<LumoUtility::SubMenu> exitItem;
  std::unique_ptr<LumoUtility::Menu> optionsMenu;
  std::unique_ptr<LumoUtility::SubMenu> catalogueItem;
  std::unique_ptr<LumoUtility::SubMenu> optionsSeparator;
  std::unique_ptr<LumoUtility::SubMenu> backupItem;
  std::unique_ptr<LumoUtility::SubMenu> restoreItem;
  std::unique_ptr<LumoUtility::SubMenu> restoreCopyItem;
  std::unique_ptr<LumoUtility::Menu> helpMenu;
  std::unique_ptr<LumoUtility::SubMenu> guideItem;
  std::unique_ptr<LumoUtility::SubMenu> homeItem;

  // The items before the toolbar: the toolbar refers to them, and is destroyed first.
  std::unique_ptr<LumoUtility::ToolBarItem> newButton;
  std::unique_ptr<LumoUtility::ToolBarItem> openButton;
  std::unique_ptr<LumoUtility::ToolBarItem> toolSeparator;
  std::unique_ptr<LumoUtility::ToolBarItem> editButton;
  std::unique_ptr<LumoUtility::ToolBarItem> addButton;
  std::unique_ptr<LumoUtility::ToolBarItem> historyButton;
  std::unique_ptr<LumoUtility::ToolBarItem> optionsButton;
  std::unique_ptr<LumoUtility::ToolBarItem> closeButton;
  std::unique_ptr<LumoUtility::ToolBar> toolBar;
  std::unique_ptr<LumoUtility::Grid> grid;

  std::unique_ptr<FormNuovo> vehicleEditor;
  std::unique_ptr<FormSelezione> vehicleSelection;
  std::unique_ptr<FormIntervento> interventionEntry;
  std::unique_ptr<LumoUtility::FormLeggimi> termsViewer;
  std::unique_ptr<FormAnagInterv> catalogueEditor;
  std::unique_ptr<FormStorico> historyForm;
  std::unique_ptr<FormCopie> copyChooser;

 private:
  void BuildMenu();
  void BuildToolBar();
  void BuildGrid();
  int InitialRowCount();

  void OpenVehicle();
  void OpenVehicleEditor(const std::string& caption);
  void OpenInterventionEntry();
  void OpenCatalogueEditor();
  void OpenHistory();
  void OpenCopyChooser();

  // Saves the vehicle (its ID filled in); a failure shows the store's error (in a box of
  // boxOwner) and answers false.
  bool StoreVehicle(VehicleRecord& vehicle, const LumoUtility::GUIElement& boxOwner);
  void VehicleEditorClosed();
  void VehicleSelectionClosed();
  void InterventionEntryClosed();
  // An intervention done at more km than the vehicle's reading: asks whether the reading
  // becomes the intervention's km and date, and stores the vehicle in use when so.
  void OfferKmUpdate(const VehicleIntervention& done, const LumoUtility::GUIElement& boxOwner);
  // Reads the vehicle's schedule and, when that worked, makes vehicle and schedule the
  // ones on display. A failure shows the store's text and changes nothing.
  void DisplayVehicle(const VehicleRecord& vehicle, bool resetSelection);
  // The vehicle's schedule and the catalogue's months; false, with the store's text shown,
  // when the schedule cannot be read. Months that cannot be read are none.
  bool ReadSchedule(const VehicleRecord& vehicle, std::vector<ScheduleRow>& rows,
                    MonthsByKind& months, const LumoUtility::GUIElement& boxOwner);
  void SetVehicleCommandsEnabled(bool vehicleShown);

  // Set while the form is being torn down: a child form closing then reaches nobody.
  bool tearingDown_ = false;
};

}  // namespace MyApp
