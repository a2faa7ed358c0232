// Opens the program's real windows on sample data, one after the other as a user would,
// and saves a picture of each into a folder: screenshot-tour TEMPLATE FOLDER. The
// template is copied into FOLDER as the user's database; the pictures are FOLDER\*.bmp.
// scripts/screenshots runs it under Wine and turns the pictures into docs/*.png.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/ProgramRun.h"
#include "data/DatabasePath.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormCopie.h"
#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/FormStorico.h"
#include "toolkit/Button.h"
#include "toolkit/CellControl.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/Grid.h"
#include "toolkit/ListBox.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/TextEncoding.h"
#include "tools/screenshots/ModalCapture.h"
#include "tools/screenshots/SampleData.h"
#include "tools/screenshots/ScreenCapture.h"

namespace {

// Wine paints a window shortly after it is shown or changed, not at once.
constexpr auto kSettleTime = std::chrono::milliseconds(700);
constexpr auto kModalTimeout = std::chrono::seconds(20);

using Clock = std::chrono::steady_clock;

// The automatic copies as "Copie automatiche" lists them: a few runs of one week.
std::vector<MyApp::CopyChoice> SampleCopies() {
  return {{"07/12/2026  20:31:05   1.234 KB", L""},
          {"05/12/2026  18:02:47   1.230 KB", L""},
          {"01/12/2026  09:15:12   1.198 KB", L""}};
}

// Dispatches this thread's messages for a while; the quit message that the main window's
// end posts is dropped, the tour ends by itself.
void Pump(std::chrono::milliseconds duration) {
  const auto deadline = Clock::now() + duration;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  } while (Clock::now() < deadline);
}

void Settle() { Pump(kSettleTime); }

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

// A toolbar button pressed: the toolbar reports its command to the form.
void ClickTool(LumoUtility::Form& form, HWND toolBar, const LumoUtility::ToolBarItem& item) {
  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(item.id, BN_CLICKED),
               reinterpret_cast<LPARAM>(toolBar));
}

// A list-box item clicked with the mouse (the list reports the change itself).
void ClickListItem(HWND list, int index) {
  SendMessageW(list, LB_SETTOPINDEX, index, 0);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  const LPARAM where = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageW(list, WM_LBUTTONUP, 0, where);
}

// A field filled as the user would: focus in, text, focus out (the km and money boxes
// write their figures the user's way when they lose the focus).
void Fill(LumoUtility::GUIElement& field, const char* text, LumoUtility::GUIElement& next) {
  field.Focus();
  SetWindowTextA(field.window, text);
  next.Focus();
}

HWND FindMessageBox(const wchar_t* caption) { return FindWindowW(L"#32770", caption); }

class Tour {
 public:
  // Only the box the tour asks for is shown; any other (a store failure, say) is reported
  // and answered at once, so that the tour never waits on a box nobody answers.
  explicit Tour(std::filesystem::path folder) : folder_(std::move(folder)) {
    LumoUtility::SetMessageBoxPresenter([this](const LumoUtility::MessageBoxRequest& request) {
      if (showBoxes_) return LumoUtility::PresentMessageBox(request);
      std::fprintf(stderr, "unexpected message box \"%s\": %s\n", request.caption.c_str(),
                   request.text.c_str());
      ++failures_;
      return IDNO;
    });
  }
  ~Tour() {
    if (main_) main_->closeWithoutAsking = true;
    main_.reset();
    LumoUtility::SetMessageBoxPresenter({});
  }
  Tour(const Tour&) = delete;
  Tour& operator=(const Tour&) = delete;

  // Every picture in turn; answers how many could not be taken.
  int Run() {
    if (!StartAndTerms()) return failures_ + 1;
    OptionsMenu();
    AutomaticCopies();
    OpenVehicle();
    CorrectIntervention();
    NewIntervention();
    History();
    EditVehicle();
    ClickTool(*main_, ToolBarWindow(), *main_->closeButton);
    Settle();
    NewVehicle();
    Catalogue();
    ExitQuestion();
    return failures_;
  }

 private:
  void Shoot(const RECT& area, const char* name) {
    Settle();
    const std::filesystem::path file = folder_ / (std::string(name) + ".bmp");
    if (CaptureScreenArea(area, file)) {
      std::printf("%s\n", file.string().c_str());
    } else {
      std::fprintf(stderr, "could not capture %s\n", name);
      ++failures_;
    }
  }
  void Shoot(HWND window, const char* name) { Shoot(ScreenAreaOf(window), name); }

  // Starts something that holds this thread in a modal loop (trigger), and meanwhile
  // lets a second thread capture the window it shows and dismiss it.
  void ShootModal(const std::function<void()>& trigger, ModalCapture::Finder find,
                  ModalCapture::Area area, ModalCapture::Dismiss dismiss, const char* name) {
    const std::filesystem::path file = folder_ / (std::string(name) + ".bmp");
    ModalCapture capture(std::move(find), std::move(area), file, std::move(dismiss));
    trigger();
    const auto deadline = Clock::now() + kModalTimeout;
    while (!capture.Done() && Clock::now() < deadline) Pump(std::chrono::milliseconds(50));
    if (capture.Done() && capture.Succeeded()) {
      std::printf("%s\n", file.string().c_str());
    } else {
      std::fprintf(stderr, "could not capture %s\n", name);
      ++failures_;
    }
  }

  HWND ToolBarWindow() const { return main_->toolBar->window; }

  // The child form a command should have opened; null, reported, when it did not.
  template <class ChildForm>
  ChildForm* Opened(const std::unique_ptr<ChildForm>& form, const char* what) {
    if (form && IsWindow(form->window)) return form.get();
    std::fprintf(stderr, "%s did not open\n", what);
    ++failures_;
    return nullptr;
  }

  // The main window at start, disabled behind the terms of use; then the terms accepted.
  bool StartAndTerms() {
    main_ = std::make_unique<MyApp::FormGrid>(
        GetModuleHandleW(nullptr), kProgramCaption,
        MyApp::FormGrid::HousekeepingCommands{nullptr, nullptr, SampleCopies, nullptr});
    if (!IsWindow(main_->window) || !main_->termsViewer || !IsWindow(main_->termsViewer->window)) {
      std::fprintf(stderr, "the main window or its terms did not open\n");
      return false;
    }
    Shoot(main_->window, "leggimi");
    HWND terms = main_->termsViewer->window;
    Click(main_->termsViewer->acceptButton->window);
    while (IsWindow(terms)) Pump(std::chrono::milliseconds(50));
    SetForegroundWindow(main_->window);
    Shoot(main_->window, "principale-vuota");
    return true;
  }

  // The "Opzioni" menu opened with its access key, then closed again.
  void OptionsMenu() {
    HWND mainWindow = main_->window;
    ShootModal([mainWindow] { PostMessageW(mainWindow, WM_SYSCOMMAND, SC_KEYMENU, 'o'); },
               [] { return FindWindowW(L"#32768", nullptr); },
               [mainWindow](HWND popup) { return ScreenAreaOf(mainWindow, popup); },
               [](HWND) { EndMenu(); }, "menu-opzioni");
    Settle();
  }

  // Opzioni > Ripristina copia automatica...: the copies, the newest selected.
  void AutomaticCopies() {
    main_->OnMenuCommand(main_->restoreCopyItem.get());
    MyApp::FormCopie* opened = Opened(main_->copyChooser, "Copie automatiche");
    if (!opened) return;
    ClickListItem(opened->copyList->window, 0);
    Shoot(opened->window, "copie-automatiche");
    CloseWith(opened->window, opened->cancelButton->window);
  }

  // "Apri", a plate chosen in "Selezione Veicolo", its schedule shown.
  void OpenVehicle() {
    ClickTool(*main_, ToolBarWindow(), *main_->openButton);
    MyApp::FormSelezione* opened = Opened(main_->vehicleSelection, "Selezione Veicolo");
    if (!opened) return;
    MyApp::FormSelezione& selection = *opened;
    const std::wstring plate = LumoUtility::WidenText(SampleData::kShownPlate);
    const LRESULT index =
        SendMessageW(selection.plateList->window, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(plate.c_str()));
    SendMessageW(selection.plateList->window, LB_SETCURSEL, index, 0);
    selection.plateList->Focus();
    Shoot(selection.window, "selezione-veicolo");
    HWND window = selection.window;
    Click(selection.okButton->window);
    while (IsWindow(window)) Pump(std::chrono::milliseconds(50));
    Shoot(main_->window, "principale-veicolo");
  }

  int GridRowOf(const std::string& intervention) const {
    for (int row = 0; row < main_->grid->RowsBuilt(); ++row) {
      if (main_->grid->GetRowCells(row).at(0)->GetTextAnsi() == intervention) return row;
    }
    return 0;
  }

  // A double-click on a schedule line opens "Modifica Intervento" with it.
  void CorrectIntervention() {
    const int row = GridRowOf(SampleData::kDueIntervention);
    HWND cell = main_->grid->GetRowCells(row).at(1)->window;
    SendMessageW(cell, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(cell, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(cell, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(cell, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    MyApp::FormIntervento* opened = Opened(main_->interventionEntry, "Modifica Intervento");
    if (!opened) return;
    MyApp::FormIntervento& entry = *opened;
    entry.typeList->Focus();
    Shoot(entry.window, "modifica-intervento");
    CloseWith(entry.window, entry.cancelButton->window);
  }

  // "Aggiungi": the air filter done again today, filled in but not confirmed.
  void NewIntervention() {
    ClickTool(*main_, ToolBarWindow(), *main_->addButton);
    MyApp::FormIntervento* opened = Opened(main_->interventionEntry, "Nuovo Intervento");
    if (!opened) return;
    MyApp::FormIntervento& entry = *opened;
    for (std::size_t i = 0; i < entry.catalogue.size(); ++i) {
      if (entry.catalogue[i].INTERVENTO != SampleData::kDueIntervention) continue;
      SendMessageW(entry.typeList->window, CB_SETCURSEL, i, 0);
      SendMessageW(entry.window, WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(entry.typeList->window), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(entry.typeList->window));
    }
    Fill(*entry.kmBox, "48750", *entry.costBox);
    Fill(*entry.costBox, "27,5", *entry.notesBox);
    Fill(*entry.notesBox, "FILTRO ORIGINALE, OFFICINA ROSSI", *entry.okButton);
    Shoot(entry.window, "nuovo-intervento");
    CloseWith(entry.window, entry.cancelButton->window);
  }

  // "Storico": every intervention of the vehicle in use, with the totals of each year.
  void History() {
    ClickTool(*main_, ToolBarWindow(), *main_->historyButton);
    MyApp::FormStorico* opened = Opened(main_->historyForm, "Storico interventi");
    if (!opened) return;
    Shoot(opened->window, "storico-interventi");
    CloseWith(opened->window, opened->closeButton->window);
  }

  // "Modifica": the vehicle in use in its editor.
  void EditVehicle() {
    ClickTool(*main_, ToolBarWindow(), *main_->editButton);
    MyApp::FormNuovo* opened = Opened(main_->vehicleEditor, "Modifica Veicolo");
    if (!opened) return;
    MyApp::FormNuovo& editor = *opened;
    Shoot(editor.window, "modifica-veicolo");
    CloseWith(editor.window, editor.cancelButton->window);
  }

  // "Nuovo" with no vehicle open: a new vehicle filled in but not confirmed.
  void NewVehicle() {
    ClickTool(*main_, ToolBarWindow(), *main_->newButton);
    MyApp::FormNuovo* opened = Opened(main_->vehicleEditor, "Nuovo Veicolo");
    if (!opened) return;
    MyApp::FormNuovo& editor = *opened;
    Fill(*editor.plateBox, "GC318ZN", *editor.descriptionBox);
    Fill(*editor.descriptionBox, "ALFA ROMEO TONALE 1.5 HYBRID", *editor.kmBox);
    Fill(*editor.kmBox, "6200", *editor.okButton);
    SYSTEMTIME reading{};
    reading.wYear = 2026;
    reading.wMonth = 11;
    reading.wDay = 30;
    editor.datePicker->SetDate(reading);
    editor.okButton->Focus();
    Shoot(editor.window, "nuovo-veicolo");
    CloseWith(editor.window, editor.cancelButton->window);
  }

  // "Opzioni" on the toolbar: the catalogue editor with the engine oil selected.
  void Catalogue() {
    ClickTool(*main_, ToolBarWindow(), *main_->optionsButton);
    MyApp::FormAnagInterv* opened =
        Opened(main_->catalogueEditor, "Gestione Anagrafica Interventi");
    if (!opened) return;
    MyApp::FormAnagInterv& editor = *opened;
    ClickListItem(editor.catalogueList->window, 0);
    Shoot(editor.window, "anagrafica-interventi");
    CloseWith(editor.window, editor.closeButton->window);
  }

  // The close box: the exit question, answered Yes.
  void ExitQuestion() {
    HWND mainWindow = main_->window;
    showBoxes_ = true;
    ShootModal([mainWindow] { PostMessageW(mainWindow, WM_CLOSE, 0, 0); },
               [] { return FindMessageBox(L"Uscita"); }, [](HWND box) { return ScreenAreaOf(box); },
               [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); }, "uscita");
    const auto deadline = Clock::now() + kModalTimeout;
    while (IsWindow(mainWindow) && Clock::now() < deadline) Pump(std::chrono::milliseconds(50));
  }

  void CloseWith(HWND form, HWND button) {
    Click(button);
    while (IsWindow(form)) Pump(std::chrono::milliseconds(50));
    Settle();
  }

  std::filesystem::path folder_;
  std::unique_ptr<MyApp::FormGrid> main_;
  int failures_ = 0;
  bool showBoxes_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshot-tour TEMPLATE FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[2];
  const std::filesystem::path database = folder / "dati.mdb";
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  std::filesystem::remove(database, failure);
  if (!std::filesystem::copy_file(argv[1], database, failure)) {
    std::fprintf(stderr, "cannot copy the template: %s\n", failure.message().c_str());
    return 1;
  }
  DatabasePath = database.wstring();

  // Made first: its message-box guard covers the sample data too.
  Tour tour(folder);
  std::string error;
  if (!SampleData::Fill(error)) {
    std::fprintf(stderr, "sample data: %s\n", error.c_str());
    return 1;
  }
  return tour.Run() == 0 ? 0 : 1;
}
