#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "tests/support/ResourceCounts.h"
#include "tests/toolkit/TestBitmapIds.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/ElementRegistry.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/Grid.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"

using namespace LumoUtility;

namespace {

constexpr int kScreens = 150;

bool ClassAlive(const std::wstring& name) {
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  return GetClassInfoExW(TestInstance(), name.c_str(), &description) != 0;
}

HBITMAP statusPicture = nullptr;  // owned by the test, as the main window owns its icons

std::string HistoryCell(GUIElement*, int row, int) { return "Tagliando " + std::to_string(row); }

// What one screen made that must be gone with it.
struct Made {
  std::vector<HWND> windows;
  std::vector<std::wstring> classes;
  std::vector<HMENU> menus;
  std::vector<HGDIOBJ> objects;
};

// Every control of the toolkit on one form, as the screens build them, with a terms
// viewer owned by it.
struct Screen {
  std::unique_ptr<RecordingForm> form = std::make_unique<RecordingForm>();
  std::unique_ptr<FontSpec> font = std::make_unique<FontSpec>(L"Tahoma", 14);
  std::unique_ptr<MenuBar> bar;
  std::vector<std::unique_ptr<Menu>> menus;
  std::vector<std::unique_ptr<SubMenu>> items;
  std::unique_ptr<ToolBar> toolBar;
  std::vector<std::unique_ptr<ToolBarItem>> buttons;
  std::unique_ptr<Grid> grid;
  std::unique_ptr<Label> label;
  std::unique_ptr<TextBox> km;
  std::unique_ptr<NumericBox> spinner;
  std::unique_ptr<CurrencyBox> cost;
  std::unique_ptr<CheckBox> check;
  std::unique_ptr<ComboBox> combo;
  std::unique_ptr<ListBox> list;
  std::unique_ptr<ListView> history;
  std::unique_ptr<DatePicker> date;
  std::unique_ptr<Button> drawn;
  std::unique_ptr<FormLeggimi> terms;

  void Build() {
    form->SetSize(700, 500);
    form->buildControls = [this](RecordingForm& self) {
      bar = std::make_unique<MenuBar>(&self);
      menus.push_back(std::make_unique<Menu>("&File", bar.get()));
      items.push_back(std::make_unique<SubMenu>("&Esci", menus[0].get()));
      items.push_back(std::make_unique<SubMenu>(menus[0].get()));
      items.push_back(std::make_unique<SubMenu>("&Altro", menus[0].get()));
      items.push_back(std::make_unique<SubMenu>("&Interno", items[2].get()));
      items[3]->checkable = true;
      bar->Create();

      toolBar = std::make_unique<ToolBar>(&self);
      toolBar->flat = true;
      toolBar->showText = true;
      for (int i = 0; i < 3; ++i) {
        buttons.push_back(std::make_unique<ToolBarItem>(toolBar.get()));
        buttons.back()->toolTip = "Voce";
        toolBar->AddItem(buttons.back().get());
      }
      buttons[0]->bitmapId = kStripBitmapId;
      buttons[0]->imageCount = 3;
      buttons[1]->imageOffset = 1;
      buttons[2]->bitmapId = kMappedBitmapId;
      buttons[2]->maskColour = kMaskColour;
      toolBar->Create();

      grid = std::make_unique<Grid>(&self);
      grid->SetPosition(10, 60);
      grid->SetSize(300, 150);
      grid->rowCount = 5;
      grid->Create();
      grid->SetCellText(1, 0, "Cambio olio");
      grid->GetRowCells(1)[0]->SetImage(statusPicture, 1, 20, 20);
      grid->SelectRow(2);

      label = std::make_unique<Label>(&self, "Km");
      label->border = true;
      label->SetPosition(320, 60);
      label->Create();
      km = std::make_unique<TextBox>(&self);
      km->SetPosition(320, 100);
      km->font = font.get();
      spinner = std::make_unique<NumericBox>(&self, km.get());
      spinner->Create();
      cost = std::make_unique<CurrencyBox>(&self, 12.5);
      cost->SetPosition(420, 100);
      cost->Create();
      check = std::make_unique<CheckBox>(&self, "Rodaggio");
      check->SetPosition(320, 140);
      check->Create();
      combo = std::make_unique<ComboBox>(&self);
      combo->AddItem("Freni", "1");
      combo->SetPosition(320, 180);
      combo->toolTip = "Tipo";
      combo->Create();
      list = std::make_unique<ListBox>(&self);
      list->AddItem("AB123CD", "1");
      list->SetPosition(420, 180);
      list->Create();
      history = std::make_unique<ListView>(&self);
      history->SetPosition(10, 220);
      history->SetSize(300, 120);
      history->font = font.get();
      history->AddColumn("Data", 100);
      history->AddColumn("Km", 80, 1);
      history->cellText = HistoryCell;
      history->Create();
      history->SetRowCount(100000);
      history->SetSortIndicator(0, true);
      history->SelectRow(40);
      date = std::make_unique<DatePicker>(&self);
      date->optional = true;
      date->SetPosition(320, 320);
      date->Create();
      drawn = std::make_unique<Button>(&self, "OK");
      drawn->ownerDraw = true;
      drawn->image = statusPicture;
      drawn->SetPosition(320, 360);
      drawn->Create();
    };
    form->Create();
    terms = std::make_unique<FormLeggimi>("Leggimi", form.get(), TestInstance());
    for (HWND window :
         {grid->window, drawn->window, toolBar->window, date->window, history->window}) {
      InvalidateRect(window, nullptr, TRUE);
      UpdateWindow(window);
    }
    for (auto& row : grid->rows) {
      for (auto& cell : row) UpdateWindow(cell->window);
    }
  }

  Made Record() const {
    Made made;
    made.windows = {
        form->window,  toolBar->window,      grid->window,    label->window,
        km->window,    spinner->window,      cost->window,    check->window,
        combo->window, list->window,         date->window,    drawn->window,
        terms->window, combo->toolTipWindow, history->window, ListView_GetHeader(history->window)};
    made.classes = {form->ClassRegistration().Name(), grid->ClassRegistration().Name(),
                    terms->ClassRegistration().Name()};
    for (const auto& cell : grid->headerCells) {
      made.windows.push_back(cell->window);
      made.classes.push_back(cell->ClassRegistration().Name());
    }
    for (const auto& row : grid->rows) {
      for (const auto& cell : row) {
        made.windows.push_back(cell->window);
        made.classes.push_back(cell->ClassRegistration().Name());
      }
    }
    made.menus = {bar->menuHandle, menus[0]->menuHandle, items[2]->popupHandle};
    made.objects = {font->handle, toolBar->mappedBitmaps[0].Get(), grid->defaultCellFont.handle,
                    grid->defaultHeaderFont.handle, terms->textFont.handle};
    return made;
  }

  // The owner deletes the terms viewer, then the form's elements, then the form, or the
  // form first: both orders happen in a program.
  void Delete(bool formFirst) {
    terms.reset();
    if (formFirst) form.reset();
    drawn.reset();
    date.reset();
    history.reset();
    list.reset();
    combo.reset();
    check.reset();
    cost.reset();
    spinner.reset();
    km.reset();
    label.reset();
    grid.reset();
    toolBar.reset();
    buttons.clear();
    items.clear();
    menus.clear();
    bar.reset();
    form.reset();
    font.reset();
  }
};

int Survivors(const Made& made) {
  int alive = 0;
  for (HWND window : made.windows) alive += IsWindow(window) ? 1 : 0;
  for (const std::wstring& name : made.classes) alive += ClassAlive(name) ? 1 : 0;
  for (HMENU menu : made.menus) alive += IsMenu(menu) ? 1 : 0;
  for (HGDIOBJ object : made.objects) alive += GetObjectType(object) != 0 ? 1 : 0;
  return alive;
}

int Missing(const Made& made) {
  int missing = 0;
  for (HWND window : made.windows) missing += window ? 0 : 1;
  for (HMENU menu : made.menus) missing += menu ? 0 : 1;
  for (HGDIOBJ object : made.objects) missing += object ? 0 : 1;
  return missing;
}

}  // namespace

TEST(NoLeak, EveryControlGoesWithItsScreen) {
  ToolkitStateScope scope;
  RECT face{4, 4, 16, 16};
  statusPicture = MakeSolidBitmap(20, 20, RGB(0, 0, 0), &face, RGB(255, 255, 0));
  {
    Screen warmUp;
    warmUp.Build();
    warmUp.Delete(false);
  }
  PumpMessagesFor(std::chrono::milliseconds(0));
  const int roomBefore = GdiRoom();
  const int windowsBefore = ThreadWindows();
  const size_t elementsBefore = ElementRegistry::Elements().size();
  int missing = 0;
  int survivorsRightAfter = 0;
  std::vector<std::wstring> allClasses;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kScreens; ++i) {
    Screen screen;
    screen.Build();
    Made made = screen.Record();
    missing += Missing(made);
    screen.Delete(i % 2 == 1);
    survivorsRightAfter += Survivors(made);
    allClasses.insert(allClasses.end(), made.classes.begin(), made.classes.end());
    PumpMessagesFor(std::chrono::milliseconds(0));
  }
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("%d screens with every control built, painted and deleted in %lld ms\n", kScreens,
              static_cast<long long>(elapsed.count()));

  EXPECT_EQ(missing, 0);
  EXPECT_EQ(survivorsRightAfter, 0);
  int classesAtTheEnd = 0;
  for (const std::wstring& name : allClasses) classesAtTheEnd += ClassAlive(name) ? 1 : 0;
  EXPECT_EQ(classesAtTheEnd, 0);
  EXPECT_EQ(ElementRegistry::Elements().size(), elementsBefore);
  EXPECT_EQ(ThreadWindows(), windowsBefore);
  const int roomAfter = GdiRoom();
  std::printf("GDI room before %d, after %d\n", roomBefore, roomAfter);
  EXPECT_GT(roomBefore, kScreens);
  EXPECT_EQ(roomAfter, roomBefore);
  DeleteObject(statusPicture);
}
