#include "screens/FormGrid.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "data/MaintenanceStore.h"
#include "screens/CommandShortcuts.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormCommon.h"
#include "screens/FormCopie.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/FormStorico.h"
#include "screens/KmText.h"
#include "screens/MakerSite.h"
#include "screens/OwnedForm.h"
#include "screens/ScheduleLines.h"
#include "toolkit/Drawing.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/Grid.h"
#include "toolkit/Menus.h"
#include "toolkit/ResourceIds.h"
#include "toolkit/Shell.h"
#include "toolkit/SystemDates.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kFormWidth = 750;
constexpr int kFormHeight = 575;
constexpr int kClientWidth = 750;
constexpr int kClientHeight = 550;
constexpr int kBackgroundTop = 50;
constexpr int kDefaultRows = 25;
constexpr int kIconSize = 20;
constexpr int kSeparatorStyle = 1;
constexpr char kSeedEntryName[] = "Candela";
constexpr char kGuidePage[] = "/TorvaneManutenzione.asp";

// A child form reports to the main window it was made with once its window is gone.
int ChildFormDestroyedTrampoline(GUIElement* element) {
  auto* form = dynamic_cast<OwnedForm*>(element);
  if (auto* mainForm = form ? dynamic_cast<FormGrid*>(form->owner) : nullptr) {
    mainForm->OnChildFormClosed(*form);
  }
  return 0;
}

// The terms viewer is the toolkit's and no OwnedForm: it reports through a call of its own.
int TermsViewerDestroyedTrampoline(GUIElement* element) {
  auto* viewer = dynamic_cast<FormLeggimi*>(element);
  if (auto* mainForm = viewer ? dynamic_cast<FormGrid*>(viewer->owner) : nullptr) {
    mainForm->OnTermsViewerClosed(*viewer);
  }
  return 0;
}

bool SameNameIgnoringCase(const std::string& left, const std::string& right) {
  return std::equal(
      left.begin(), left.end(), right.begin(), right.end(),
      [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

HBITMAP LoadProgramBitmap(HINSTANCE instance, int resourceId) {
  return static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

std::unique_ptr<SubMenu> MakeMenuItem(GUIElement* menu, const std::string& caption) {
  auto item = std::make_unique<SubMenu>(caption, menu);
  item->commandHandler = MenuCommandTrampoline;
  return item;
}

bool IsElement(const GUIElement* element, const std::unique_ptr<SubMenu>& item) {
  return element && item && element->id == item->id;
}

}  // namespace

FormGrid::FormGrid(HINSTANCE instance, const std::string& caption, HousekeepingCommands commands)
    : FormHandlers(instance), baseTitle(caption), housekeeping(commands) {
  keyPreview = true;
  formFont.bold = true;
  SetSize(kFormWidth, kFormHeight);
  text = WidenText(baseTitle);
  WireFormHandlers();
  iconId = kProgramIconId;
  font = &formFont;
  Create();
  if (!window) return;
  SetIcon(kProgramIconId);
  SetClientSize(kClientWidth, kClientHeight);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  termsViewer = std::make_unique<FormLeggimi>("Leggimi", this, instance);
  termsViewer->onDestroy = TermsViewerDestroyedTrampoline;
  termsViewer->Create();
}

FormGrid::~FormGrid() {
  // The child forms go first, while this form can still take their owner calls; their
  // close reports are not acted on any more.
  tearingDown_ = true;
  termsViewer.reset();
  vehicleEditor.reset();
  vehicleSelection.reset();
  interventionEntry.reset();
  catalogueEditor.reset();
  historyForm.reset();
  copyChooser.reset();
  CloseAndDestroyWindow();
}

void FormGrid::BuildControls() {
  inOrderIcon.Reset(LoadProgramBitmap(instance, kInOrderIconId));
  dueIcon.Reset(LoadProgramBitmap(instance, kDueIconId));
  BuildMenu();
  BuildToolBar();
  BuildGrid();
}

void FormGrid::BuildMenu() {
  menuBar = std::make_unique<MenuBar>(this);
  fileMenu = std::make_unique<Menu>("&File", menuBar.get());
  exitItem = MakeMenuItem(fileMenu.get(), "&Esci");
  optionsMenu = std::make_unique<Menu>("&Opzioni", menuBar.get());
  catalogueItem = MakeMenuItem(optionsMenu.get(), "&Gestione Anagrafica Interventi");
  optionsSeparator = std::make_unique<SubMenu>(optionsMenu.get());
  backupItem = MakeMenuItem(optionsMenu.get(), "&Backup");
  restoreItem = MakeMenuItem(optionsMenu.get(), "&Restore");
  restoreCopyItem = MakeMenuItem(optionsMenu.get(), "Ripristina copia automatica...");
  helpMenu = std::make_unique<Menu>("&?", menuBar.get());
  guideItem = MakeMenuItem(helpMenu.get(), "&Guida");
  homeItem = MakeMenuItem(helpMenu.get(), "&Home");
  menuBar->Create();
}

void FormGrid::BuildToolBar() {
  toolBar = std::make_unique<ToolBar>(this);
  toolBar->alignTop = true;
  toolBar->flat = true;
  toolBar->autoSize = true;
  toolBar->showText = true;

  newButton = MakeToolItem(toolBar.get(), "Nuovo", STD_FILENEW, kNewShortcut);
  openButton = MakeToolItem(toolBar.get(), "Apri", STD_FILEOPEN, kOpenShortcut);
  toolSeparator = std::make_unique<ToolBarItem>(toolBar.get());
  toolSeparator->style = kSeparatorStyle;
  editButton = MakeToolItem(toolBar.get(), "Modifica", 0, kChangeShortcut);
  editButton->bitmapId = kToolbarStripId;
  editButton->imageCount = 2;
  editButton->imageOffset = 0;
  // The others take their pictures from the strip "Modifica" added.
  addButton = MakeToolItem(toolBar.get(), "Aggiungi", 0, kAddShortcut);
  addButton->imageOffset = 1;
  historyButton = MakeToolItem(toolBar.get(), "Storico", STD_FIND, kHistoryShortcut);
  optionsButton = MakeToolItem(toolBar.get(), "Opzioni", 0, kCatalogueShortcut);
  optionsButton->imageOffset = 3;
  closeButton = MakeToolItem(toolBar.get(), "Chiudi", 0, kCloseVehicleShortcut);
  closeButton->imageOffset = 2;

  editButton->enabled = false;
  addButton->enabled = false;
  historyButton->enabled = false;
  closeButton->enabled = false;
  for (ToolBarItem* item :
       {newButton.get(), openButton.get(), toolSeparator.get(), editButton.get(), addButton.get(),
        historyButton.get(), optionsButton.get(), closeButton.get()}) {
    toolBar->AddItem(item);
  }
  toolBar->Create();
}

int FormGrid::InitialRowCount() {
  MaintenanceStore store;
  const std::int32_t count = store.CountInterventionTypes();
  if (count < 1) return kDefaultRows;
  if (count != kDefaultRows) return count;
  // Catalogues of the first release lack the spark plug; one that has it keeps it once.
  for (const InterventionType& entry : store.ListInterventionTypes()) {
    if (SameNameIgnoringCase(entry.INTERVENTO, kSeedEntryName)) return kDefaultRows;
  }
  if (store.ErrorFlag()) return kDefaultRows;
  return store.SeedInterventionTypes() ? kDefaultRows + 1 : kDefaultRows;
}

void FormGrid::BuildGrid() {
  // The stored size: the window does not count as created yet.
  const int unit = (width - 20) / 12;
  grid = std::make_unique<Grid>(this);
  grid->SetPosition(10, 60);
  grid->SetSize(width - 20, height - 100);
  grid->rowCount = InitialRowCount();
  grid->columnCount = 4;
  grid->SetColumnCaption(0, "Intervento");
  grid->SetColumnWidth(0, unit * 6);
  grid->SetColumnCaption(1, "Data");
  grid->SetColumnWidth(1, unit * 2);
  grid->SetColumnCaption(2, "Km");
  grid->SetColumnWidth(2, unit * 2);
  grid->SetColumnCaption(3, "Costo");
  grid->SetColumnWidth(3, unit * 2);
  grid->SetColumnAlignment(0, kAlignLeft);
  grid->onRowSelected = GridRowSelectedTrampoline;
  grid->onRowActivated = GridRowActivatedTrampoline;
  // Its windows (one per cell, a hundred and more) are made when the first vehicle is
  // shown: nobody sees the grid before, and making them at start doubled the start time.
  grid->visible = false;
}

void FormGrid::PaintBackground(HDC dc) {
  if (!backgroundBitmap) backgroundBitmap.Reset(LoadProgramBitmap(instance, kBackgroundBitmapId));
  Drawing drawing;
  drawing.Attach(dc);
  drawing.DrawBitmap(backgroundBitmap.Get(), kBackgroundTop);
  drawing.Finish();
}

void FormGrid::OnPaint() {
  if (window) {
    Drawing drawing(*this);
    PaintBackground(drawing.Context());
    drawing.Finish();
  }
  FormHandlers::OnPaint();
}

bool FormGrid::OnClosing() {
  if (closeWithoutAsking || tearingDown_) return true;
  return AskYesNo("Vuoi realmente uscire?", "Uscita");
}

void FormGrid::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == openButton.get()) {
    OpenVehicle();
  } else if (element == newButton.get()) {
    OpenVehicleEditor(FormNuovo::kNewCaption);
  } else if (element == editButton.get()) {
    OpenVehicleEditor("Modifica Veicolo");
    vehicleEditor->LoadVehicle(currentVehicle);
  } else if (element == closeButton.get()) {
    CloseVehicle();
  } else if (element == addButton.get()) {
    OpenInterventionEntry();
  } else if (element == historyButton.get()) {
    OpenHistory();
  } else if (element == optionsButton.get()) {
    OnMenuCommand(catalogueItem.get());
  }
}

void FormGrid::OpenVehicle() {
  std::vector<std::string> plates;
  {
    MaintenanceStore store;
    if (!store.ListPlates(plates)) {
      ShowError("Errore durante la lettura delle targhe.", kErrorCaption, *this);
      return;
    }
  }
  if (plates.empty()) {
    if (AskYesNo("Non sono presenti veicoli in archivio. Si desidera inserire un nuovo veicolo?",
                 "Selezione", *this)) {
      OpenVehicleEditor(FormNuovo::kNewCaption);
    }
    return;
  }
  vehicleSelection.reset();
  vehicleSelection = std::make_unique<FormSelezione>("Selezione Veicolo", this);
  vehicleSelection->onDestroy = ChildFormDestroyedTrampoline;
  vehicleSelection->Show();
  vehicleSelection->SetPlates(plates);
}

void FormGrid::OpenVehicleEditor(const std::string& caption) {
  vehicleEditor.reset();
  vehicleEditor = std::make_unique<FormNuovo>(caption, this);
  vehicleEditor->onDestroy = ChildFormDestroyedTrampoline;
  vehicleEditor->Show();
}

void FormGrid::OpenInterventionEntry() {
  interventionEntry.reset();
  interventionEntry = std::make_unique<FormIntervento>(this, "Nuovo Intervento");
  interventionEntry->onDestroy = ChildFormDestroyedTrampoline;
  // Usually the line the user is looking at is the one just done again.
  const int row = grid ? grid->selectedRow : -1;
  if (row >= 0 && row < static_cast<int>(schedule.size())) {
    interventionEntry->PreselectKind(schedule[static_cast<size_t>(row)].ID_INTERVENTO);
  }
  interventionEntry->Show();
}

void FormGrid::OpenCatalogueEditor() {
  catalogueEditor.reset();
  catalogueEditor = std::make_unique<FormAnagInterv>(this, "Gestione Anagrafica Interventi");
  catalogueEditor->Show();
}

void FormGrid::OpenHistory() {
  historyForm.reset();
  historyForm = std::make_unique<FormStorico>(this, this);
  historyForm->Show();
}

void FormGrid::OpenCopyChooser() {
  std::vector<CopyChoice> copies;
  if (housekeeping.listCopies) copies = housekeeping.listCopies();
  if (copies.empty()) {
    ShowInfo("Nessuna copia automatica trovata. Impossibile procedere con il restore.", "Restore",
             *this);
    return;
  }
  copyChooser.reset();
  copyChooser = std::make_unique<FormCopie>(this, std::move(copies));
  copyChooser->onDestroy = ChildFormDestroyedTrampoline;
  copyChooser->Show();
}

void FormGrid::OnMenuCommand(GUIElement* item) {
  if (IsElement(item, exitItem)) {
    // Posted: the menu command is still on the stack of the window that may now close.
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  } else if (IsElement(item, homeItem)) {
    OpenDocument(kMakerWebSite);
  } else if (IsElement(item, guideItem)) {
    OpenDocument(std::string(kMakerWebSite) + kGuidePage);
  } else if (IsElement(item, catalogueItem)) {
    OpenCatalogueEditor();
  } else if (IsElement(item, backupItem)) {
    if (housekeeping.backup) housekeeping.backup(window);
  } else if (IsElement(item, restoreItem)) {
    if (housekeeping.restore) housekeeping.restore(window);
  } else if (IsElement(item, restoreCopyItem)) {
    OpenCopyChooser();
  }
}

void FormGrid::OnGridRowSelected(GUIElement*, int) {}

void FormGrid::OnGridRowActivated(GUIElement*, int row) {
  if (row < 0 || row >= static_cast<int>(schedule.size())) return;
  interventionEntry.reset();
  interventionEntry = std::make_unique<FormIntervento>(this, "Modifica Intervento");
  interventionEntry->onDestroy = ChildFormDestroyedTrampoline;
  interventionEntry->LoadIntervention(schedule[static_cast<size_t>(row)]);
  interventionEntry->Show();
}

void FormGrid::OnChildFormClosed(const OwnedForm& form) {
  // A form being replaced is no longer the one its member holds, and reports nothing.
  if (tearingDown_ || !form.Confirmed()) return;
  if (&form == vehicleEditor.get()) {
    VehicleEditorClosed();
  } else if (&form == vehicleSelection.get()) {
    VehicleSelectionClosed();
  } else if (&form == interventionEntry.get()) {
    InterventionEntryClosed();
  } else if (&form == copyChooser.get() && housekeeping.restoreCopy) {
    housekeeping.restoreCopy(window, copyChooser->chosenCopy);
  }
}

void FormGrid::OnTermsViewerClosed(const FormLeggimi& viewer) {
  if (tearingDown_ || &viewer != termsViewer.get()) return;
  if (viewer.result != FormLeggimi::kAccepted) {
    closeWithoutAsking = true;
    // Posted: the viewer is still inside its own destruction.
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

bool FormGrid::StoreVehicle(VehicleRecord& vehicle, const GUIElement& boxOwner) {
  MaintenanceStore store;
  if (store.ErrorFlag()) {
    ShowError(store.ErrorText(), kErrorCaption, boxOwner);
    return false;
  }
  if (!store.SaveVehicle(vehicle) || vehicle.ID < 1) {
    ShowError("Errore durante l'inserimento del veicolo [" + store.ErrorText() + "]", kErrorCaption,
              boxOwner);
    return false;
  }
  return true;
}

void FormGrid::VehicleEditorClosed() {
  VehicleRecord edited = vehicleEditor->editedVehicle;
  if (!StoreVehicle(edited, *this)) return;
  // The vehicle on display now is what was saved, even if its schedule cannot be read
  // again: the next "Modifica" must not offer (and write back) the values it replaced.
  if (edited.ID == currentVehicle.ID) currentVehicle = edited;
  DisplayVehicle(edited, true);
}

void FormGrid::VehicleSelectionClosed() {
  const std::string plate = vehicleSelection->chosenVehicle.TARGA;
  VehicleRecord loaded;
  {
    MaintenanceStore store;
    if (store.ErrorFlag()) {
      ShowError(store.ErrorText(), kErrorCaption, *this);
      return;
    }
    loaded = store.LoadVehicleByPlate(plate);
    if (store.ErrorFlag() || loaded.ID < 1) {
      ShowError("Errore durante il caricamento del veicolo [" + store.ErrorText() + "]",
                kErrorCaption, *this);
      return;
    }
  }
  DisplayVehicle(loaded, true);
}

void FormGrid::InterventionEntryClosed() {
  if (StoreIntervention(interventionEntry->GetIntervention(), *this)) {
    DisplayVehicle(currentVehicle, false);
  }
}

bool FormGrid::StoreIntervention(const VehicleIntervention& done, const GUIElement& boxOwner) {
  {
    MaintenanceStore store;
    if (store.ErrorFlag()) {
      ShowError(store.ErrorText(), kErrorCaption, boxOwner);
      return false;
    }
    // An intervention always belongs to a stored vehicle.
    if (currentVehicle.ID < 1 || !store.SaveVehicleIntervention(currentVehicle.ID, done)) {
      ShowError("Errore durante l'inserimento dell'intervento [" + store.ErrorText() + "]",
                kErrorCaption, boxOwner);
      return false;
    }
  }
  if (done.KM > currentVehicle.KM) OfferKmUpdate(done, boxOwner);
  return true;
}

void FormGrid::OfferKmUpdate(const VehicleIntervention& done, const GUIElement& boxOwner) {
  if (!AskYesNo("Aggiornare i Km del veicolo a " + GroupedKm(done.KM) + "?", "Conferma",
                boxOwner)) {
    return;
  }
  VehicleRecord updated = currentVehicle;
  updated.KM = done.KM;
  // The reading was taken the day of the intervention.
  updated.DATA_KM = done.DATA;
  updated.HasDate = !done.DATA.invalid;
  if (!StoreVehicle(updated, boxOwner)) return;
  // Stored: from now on the vehicle in use, whatever happens to the display.
  currentVehicle = updated;
}

bool FormGrid::ReadSchedule(const VehicleRecord& vehicle, std::vector<ScheduleRow>& rows,
                            MonthsByKind& months, const GUIElement& boxOwner) {
  MaintenanceStore store;
  rows = store.LoadSchedule(vehicle.ID);
  if (store.ErrorFlag()) {
    ShowError(store.ErrorText(), kErrorCaption, boxOwner);
    return false;
  }
  // A file without the months table, or one it cannot read, shows the kilometre schedule.
  months.clear();
  for (const auto& [kind, count] : store.LoadInterventionMonths()) months[kind] = count;
  return true;
}

void FormGrid::DisplayVehicle(const VehicleRecord& vehicle, bool resetSelection) {
  std::vector<ScheduleRow> rows;
  MonthsByKind months;
  if (!ReadSchedule(vehicle, rows, months, *this)) return;
  currentVehicle = vehicle;
  schedule = std::move(rows);
  scheduleMonths = std::move(months);
  ShowVehicle(resetSelection);
}

void FormGrid::RefreshSchedule(const GUIElement& boxOwner) {
  std::vector<ScheduleRow> rows;
  MonthsByKind months;
  if (!ReadSchedule(currentVehicle, rows, months, boxOwner)) return;
  schedule = std::move(rows);
  scheduleMonths = std::move(months);
  FillSchedule();
}

void FormGrid::ShowVehicle(bool resetSelection) {
  const bool firstShow = !grid->created;
  if (firstShow) grid->Create();
  FillSchedule();
  // Shown before the selection moves: a hidden window does not scroll its cells.
  grid->Show();
  if (firstShow || resetSelection) grid->SelectRow(0);
  SetVehicleCommandsEnabled(true);
  grid->Focus();
  SetText("[Targa: " + currentVehicle.TARGA + "] - " + baseTitle);
}

void FormGrid::CloseVehicle() {
  if (grid && grid->created) grid->Hide();
  if (grid) grid->visible = false;
  // A hidden grid must not keep the keys (Enter there would open a line of a closed
  // vehicle): the window takes them, for its shortcuts.
  Focus();
  SetVehicleCommandsEnabled(false);
  SetText(baseTitle);
}

void FormGrid::SetVehicleCommandsEnabled(bool vehicleShown) {
  editButton->enabled = vehicleShown;
  addButton->enabled = vehicleShown;
  historyButton->enabled = vehicleShown;
  closeButton->enabled = vehicleShown;
  optionsButton->enabled = !vehicleShown;
  catalogueItem->SetEnabled(!vehicleShown);
  backupItem->SetEnabled(!vehicleShown);
  restoreItem->SetEnabled(!vehicleShown);
  restoreCopyItem->SetEnabled(!vehicleShown);
  toolBar->RebuildButtons();
}

void FormGrid::FillSchedule() {
  grid->ClearCells();
  grid->rowsInUse = static_cast<int>(schedule.size());
  if (schedule.empty()) return;
  // Today is read here, not inside the rule, so that the rule stays a function of its inputs.
  const std::vector<ScheduleLine> lines = BuildScheduleLines(
      currentVehicle.KM, schedule, UserDefaultLocale(), scheduleMonths, LocalNow());
  for (size_t i = 0; i < lines.size(); ++i) {
    const int row = static_cast<int>(i);
    const ScheduleLine& line = lines[i];
    if (grid->RowsBuilt() < row + 1 && grid->window) grid->AddRow();
    grid->SetCellText(row, 0, line.intervention);
    const std::vector<CellControl*> cells = grid->GetRowCells(row);
    if (!cells.empty()) {
      HBITMAP picture = line.status == ScheduleStatus::Due ? dueIcon.Get() : inOrderIcon.Get();
      cells.front()->SetImage(picture, kAlignRight, kIconSize, kIconSize);
      cells.front()->SetToolTip(line.left);
    }
    grid->SetCellText(row, 1, line.date);
    grid->SetCellText(row, 2, line.km);
    grid->SetCellText(row, 3, line.cost);
  }
}

}  // namespace MyApp
