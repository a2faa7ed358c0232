// A small program for the UI driver's own tests, run as a process of its own: a main
// window with a menu, a toolbar with texts, a grid with status faces, the terms window,
// and the program's forms and message boxes opened from them. The database to use is the
// first argument.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "data/DatabasePath.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "toolkit/FormHandlers.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/Grid.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/Shell.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"

using namespace LumoUtility;

namespace {

constexpr int kInOrderBitmap = 1008;
constexpr int kDueBitmap = 1009;

class HostWindow : public FormHandlers {
 public:
  explicit HostWindow(HINSTANCE instance) : FormHandlers(instance) {
    SetSize(700, 400);
    text = L"Driver host";
    WireFormHandlers();
    Create();
    SetClientSize(700, 400);
    terms = std::make_unique<FormLeggimi>("Leggimi", this, instance);
  }
  ~HostWindow() override {
    CloseAndDestroyWindow();
    for (HBITMAP face : {inOrder, due}) {
      if (face) DeleteObject(face);
    }
  }

  void BuildControls() override {
    inOrder = LoadFace(kInOrderBitmap);
    due = LoadFace(kDueBitmap);
    menuBar = std::make_unique<MenuBar>(this);
    fileMenu = std::make_unique<Menu>("&File", menuBar.get());
    exitItem = MenuItem("&Esci", fileMenu.get());
    testMenu = std::make_unique<Menu>("&Prove", menuBar.get());
    questionItem = MenuItem("&Domanda", testMenu.get());
    separator = std::make_unique<SubMenu>(testMenu.get());
    folderItem = MenuItem("&Cartella", testMenu.get());
    blockedItem = MenuItem("&Bloccata", testMenu.get());
    blockedItem->SetEnabled(false);
    menuBar->Create();

    toolBar = std::make_unique<ToolBar>(this);
    toolBar->flat = true;
    toolBar->showText = true;
    newButton = ToolItem("Nuovo", STD_FILENEW);
    gap = std::make_unique<ToolBarItem>(toolBar.get());
    gap->style = BTNS_SEP;
    toolBar->AddItem(gap.get());
    addButton = ToolItem("Aggiungi", STD_FILEOPEN);
    blockedButton = ToolItem("Bloccato", STD_DELETE);
    blockedButton->SetEnabled(false);
    optionsButton = ToolItem("Opzioni", STD_PROPERTIES);
    toolBar->Create();

    grid = std::make_unique<Grid>(this);
    grid->SetPosition(10, 60);
    grid->SetSize(600, 200);
    grid->columnCount = 4;
    grid->rowCount = 3;
    const char* captions[] = {"Intervento", "Data", "Km", "Costo"};
    for (int i = 0; i < 4; ++i) grid->SetColumnCaption(i, captions[i]);
    grid->onRowActivated = GridRowActivatedTrampoline;
    grid->Create();
    const char* names[] = {"Olio", "Filtro"};
    for (int row = 0; row < 2; ++row) {
      grid->SetCellText(row, 0, names[row]);
      grid->SetCellText(row, 1, "01/02/2024");
      grid->SetCellText(row, 2, std::to_string(1000 * (row + 1)));
      grid->GetRowCells(row)[0]->SetImage(row == 0 ? due : inOrder, 1, 20, 20);
    }
  }

  bool OnClosing() override { return AskYesNo("Vuoi realmente uscire?", "Uscita"); }

  void OnMenuCommand(GUIElement* item) override {
    if (item == exitItem.get()) {
      PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (item == questionItem.get()) {
      bool yes = AskYesNo("Rispondi?", "Domanda", window);
      ShowInfo(yes ? "Si" : "No", "Risposta", window);
    } else if (item == folderItem.get()) {
      std::wstring folder = BrowseForFolder("Scegli una cartella", window);
      ShowMessage(folder.empty() ? "(annullato)" : NarrowFolder(folder), "Cartella", window);
    }
  }

  void OnCommand(GUIElement* element) override {
    if (element == newButton.get()) {
      vehicle = std::make_unique<MyApp::FormNuovo>("Nuovo Veicolo", this);
      ShowWindow(vehicle->window, SW_SHOWNA);
    } else if (element == addButton.get()) {
      intervention = std::make_unique<MyApp::FormIntervento>(this, "Nuovo Intervento");
      ShowWindow(intervention->window, SW_SHOWNA);
    } else if (element == optionsButton.get()) {
      catalogue = std::make_unique<MyApp::FormAnagInterv>(this, "Gestione Anagrafica Interventi");
      ShowWindow(catalogue->window, SW_SHOWNA);
    }
  }

  void OnGridRowActivated(GUIElement*, int row) override {
    ShowMessage("Riga " + std::to_string(row), "Griglia", window);
  }

 private:
  HBITMAP LoadFace(int id) {
    return static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
  std::unique_ptr<SubMenu> MenuItem(const char* caption, GUIElement* parentMenu) {
    auto item = std::make_unique<SubMenu>(caption, parentMenu);
    item->commandHandler = MenuCommandTrampoline;
    return item;
  }
  std::unique_ptr<ToolBarItem> ToolItem(const char* label, int image) {
    auto item = std::make_unique<ToolBarItem>(toolBar.get());
    item->toolTip = label;
    item->image = image;
    item->commandHandler = CommandTrampoline;
    toolBar->AddItem(item.get());
    return item;
  }
  static std::string NarrowFolder(const std::wstring& folder) {
    std::string narrow;
    for (wchar_t c : folder) narrow += static_cast<char>(c);
    return narrow;
  }

  HBITMAP inOrder = nullptr;
  HBITMAP due = nullptr;
  std::unique_ptr<MenuBar> menuBar;
  std::unique_ptr<Menu> fileMenu, testMenu;
  std::unique_ptr<SubMenu> exitItem, questionItem, separator, folderItem, blockedItem;
  std::unique_ptr<ToolBar> toolBar;
  std::unique_ptr<ToolBarItem> newButton, gap, addButton, blockedButton, optionsButton;
  std::unique_ptr<Grid> grid;
  std::unique_ptr<FormLeggimi> terms;
  std::unique_ptr<MyApp::FormNuovo> vehicle;
  std::unique_ptr<MyApp::FormIntervento> intervention;
  std::unique_ptr<MyApp::FormAnagInterv> catalogue;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count > 1) DatabasePath = arguments[1];
  LocalFree(arguments);
  auto host = std::make_unique<HostWindow>(instance);
  RunMessageLoop(host.get());
  return 0;
}
