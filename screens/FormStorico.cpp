#include "screens/FormStorico.h"

#include <commctrl.h>

#include <algorithm>

#include "data/MaintenanceStore.h"
#include "data/WholeFiles.h"
#include "screens/CommandShortcuts.h"
#include "screens/FormCommon.h"
#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/HistoryCsv.h"
#include "screens/HistoryLines.h"
#include "toolkit/Button.h"
#include "toolkit/Drawing.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/ListView.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/SaveFileDialog.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

using namespace LumoUtility;

constexpr int kClientWidth = 720;
constexpr int kClientHeight = 470;
constexpr char kTotalCaption[] = "Totale";

FormStorico* HistoryFormOf(GUIElement* element) {
  return dynamic_cast<FormStorico*>(FormHandlers::FormOf(element));
}

std::string CellTextTrampoline(GUIElement* list, int row, int column) {
  FormStorico* form = HistoryFormOf(list);
  return form ? form->CellText(list, row, column) : std::string();
}

void RowActivatedTrampoline(GUIElement* list, int row) {
  if (FormStorico* form = HistoryFormOf(list)) form->OnRowActivated(row);
}

void ColumnClickTrampoline(GUIElement* list, int column) {
  if (FormStorico* form = HistoryFormOf(list)) form->OnColumnClick(column);
}

int EntryDestroyedTrampoline(GUIElement* element) {
  auto* entry = dynamic_cast<OwnedForm*>(element);
  if (auto* form = entry ? dynamic_cast<FormStorico*>(entry->owner) : nullptr) {
    form->OnEntryClosed(*entry);
  }
  return 0;
}

std::unique_ptr<ListView> MakeList(GUIElement* form, int x, int y, int width, int height,
                                   FontSpec* font) {
  auto list = std::make_unique<ListView>(form);
  list->SetPosition(x, y);
  list->SetSize(width, height);
  list->font = font;
  list->cellText = CellTextTrampoline;
  return list;
}

}  // namespace

FormStorico::FormStorico(Form* ownerForm, FormGrid* mainForm)
    : OwnedForm(ownerForm), mainForm_(mainForm), numberLocale_(UserDefaultLocale()) {
  if (mainForm_) {
    vehicleId_ = mainForm_->currentVehicle.ID;
    plate_ = mainForm_->currentVehicle.TARGA;
  }
  topmost = false;
  Open(kTitle, kClientWidth, kClientHeight, 30, 30);
}

FormStorico::~FormStorico() {
  // The intervention form goes first, while this form can still take its owner calls;
  // its close report is not acted on any more.
  tearingDown_ = true;
  interventionEntry.reset();
  CloseAndDestroyWindow();
}

void FormStorico::BuildControls() {
  BuildToolBar();
  BuildLists();
  closeButton = MakeButton(this, "Chiudi", 610, 435, 100, 25, &formFont);
  ReadHistory(0, 0);
  historyList->Focus();
}

void FormStorico::BuildToolBar() {
  toolBar = MakePlacedToolBar(this, 10, 5, 300, 40, true);
  changeItem = AddToolItem(*toolBar, "Modifica", STD_PROPERTIES, kChangeShortcut);
  deleteItem = AddToolItem(*toolBar, "Elimina", STD_DELETE, kDeleteShortcut);
  exportItem = AddToolItem(*toolBar, "Esporta", STD_FILESAVE, kExportShortcut);
  toolBar->Create();
}

void FormStorico::BuildLists() {
  historyList = MakeList(this, 10, 55, 700, 250, &formFont);
  historyList->AddColumn("Data", 100);
  historyList->AddColumn("Km", 85, kAlignRight);
  historyList->AddColumn("Intervento", 210);
  historyList->AddColumn("Costo", 95, kAlignRight);
  historyList->AddColumn("Note", 185);
  historyList->onRowActivated = RowActivatedTrampoline;
  historyList->onColumnClick = ColumnClickTrampoline;
  historyList->Create();

  totalsList = MakeList(this, 10, 315, 380, 145, &formFont);
  totalsList->AddColumn("Anno", 90);
  totalsList->AddColumn("Interventi", 110, kAlignRight);
  totalsList->AddColumn("Costo", 150, kAlignRight);
  totalsList->Create();
}

void FormStorico::ReadHistory(std::int32_t selectId, int selectRow) {
  {
    MaintenanceStore store;
    history = store.ListVehicleHistory(vehicleId_);
    if (store.ErrorFlag()) ShowError(store.ErrorText(), kErrorCaption, *this);
  }
  order = SortedHistoryOrder(history, sortColumn, sortDescending);
  totals = TotalsByYear(history);
  const auto shown = std::find_if(order.begin(), order.end(),
                                  [&](std::size_t index) { return history[index].ID == selectId; });
  if (shown != order.end()) selectRow = static_cast<int>(shown - order.begin());
  const int rows = static_cast<int>(order.size());
  historyList->SetRowCount(rows);
  historyList->Refresh();
  historyList->SelectRow(std::min(selectRow, rows - 1));
  totalsList->SetRowCount(static_cast<int>(totals.years.size()) + 1);
  totalsList->Refresh();

  changeItem->SetEnabled(rows > 0);
  deleteItem->SetEnabled(rows > 0);
  toolBar->RebuildButtons();
}

std::string FormStorico::CellText(const GUIElement* list, int row, int column) const {
  if (row < 0) return std::string();
  if (list == historyList.get()) {
    if (row >= static_cast<int>(order.size())) return std::string();
    return HistoryCellText(history[order[row]], column, numberLocale_);
  }
  const bool overall = row >= static_cast<int>(totals.years.size());
  const InterventionTotal& total = overall ? totals.overall : totals.years[row];
  switch (column) {
    case 0: return overall ? std::string(kTotalCaption) : IntToText(total.year);
    case 1: return GroupedNumber(total.count, numberLocale_);
    case 2: return HistoryCost(total.cost, numberLocale_);
    default: return std::string();
  }
}

const VehicleIntervention* FormStorico::SelectedRecord() const {
  const int row = historyList ? historyList->SelectedRow() : -1;
  if (row < 0 || row >= static_cast<int>(order.size())) return nullptr;
  return &history[order[row]];
}

void FormStorico::OnColumnClick(int column) {
  const VehicleIntervention* selected = SelectedRecord();
  const std::int32_t selectedId = selected ? selected->ID : 0;
  sortDescending = column == sortColumn ? !sortDescending : false;
  sortColumn = column;
  order = SortedHistoryOrder(history, sortColumn, sortDescending);
  historyList->SetSortIndicator(sortColumn, sortDescending);
  historyList->Refresh();
  // The selected record stays selected wherever it went.
  for (std::size_t row = 0; row < order.size(); ++row) {
    if (history[order[row]].ID == selectedId) historyList->SelectRow(static_cast<int>(row));
  }
}

void FormStorico::OnRowActivated(int row) { EditRecord(row); }

void FormStorico::EditRecord(int row) {
  if (row < 0 || row >= static_cast<int>(order.size())) return;
  interventionEntry.reset();
  interventionEntry = std::make_unique<FormIntervento>(this, "Modifica Intervento");
  interventionEntry->onDestroy = EntryDestroyedTrampoline;
  interventionEntry->LoadIntervention(history[order[row]]);
  interventionEntry->Show();
}

void FormStorico::OnEntryClosed(const OwnedForm& form) {
  // A form being replaced is no longer the one the member holds, and reports nothing.
  if (tearingDown_ || &form != interventionEntry.get() || !form.Confirmed() || !mainForm_) return;
  const VehicleIntervention done = interventionEntry->GetIntervention();
  if (!mainForm_->StoreIntervention(done, *this)) return;
  AfterChange(done.ID, historyList->SelectedRow());
}

void FormStorico::DeleteSelected() {
  const VehicleIntervention* record = SelectedRecord();
  if (!record) return;
  const std::int32_t id = record->ID;
  if (!AskYesNo("Eliminare l'intervento del " + FormatDayMonthYear(record->DATA) + " (" +
                    record->INTERVENTO + ")?",
                "Conferma", *this)) {
    return;
  }
  {
    MaintenanceStore store;
    if (!store.DeleteVehicleIntervention(vehicleId_, id)) {
      ShowError("Errore durante l'eliminazione dell'intervento [" + store.ErrorText() + "]",
                kErrorCaption, *this);
      return;
    }
  }
  AfterChange(0, historyList->SelectedRow());
}

void FormStorico::AfterChange(std::int32_t selectId, int selectRow) {
  if (mainForm_) mainForm_->RefreshSchedule(*this);
  ReadHistory(selectId, std::max(selectRow, 0));
}

void FormStorico::Export() {
  SaveFileRequest request;
  request.title = "Esporta storico";
  const std::wstring folder = DocumentsFolder();
  const std::wstring name = WidenText(HistoryFileName(plate_));
  request.proposedPath = folder.empty() ? name : folder + L"\\" + name;
  request.filterName = "File CSV";
  request.filterPattern = L"*.csv";
  request.owner = window;
  const std::wstring path = ChooseSaveFile(request);
  if (path.empty()) return;
  if (!WriteWholeFile(path, HistoryCsvFile(plate_, history, order), true)) {
    ShowError("Impossibile scrivere il file: " + NarrowText(path), kErrorCaption, *this);
  }
}

void FormStorico::OnCommand(GUIElement* element) {
  if (!element) return;
  if (element == changeItem.get()) {
    EditRecord(historyList->SelectedRow());
  } else if (element == deleteItem.get()) {
    DeleteSelected();
  } else if (element == exportItem.get()) {
    Export();
  } else if (element == closeButton.get()) {
    result = kCancelled;
    RequestClose(*this);
  }
}

bool FormStorico::OnClosing() {
  if (owner) EndWaitOnOwnedForm(*owner);
  // The main window keeps the closed form until the next one: a long history's rows
  // (tens of megabytes at 100,000) are let go now.
  std::vector<VehicleIntervention>().swap(history);
  std::vector<std::size_t>().swap(order);
  return true;
}

}  // namespace MyApp
