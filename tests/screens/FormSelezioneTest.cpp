#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "screens/FormSelezione.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"

using MyApp::FormSelezione;

namespace {

class FormSelezioneTest : public ScreenTest {
 protected:
  // Opens the form as the main window does: shown first, then given the stored plates.
  std::unique_ptr<FormSelezione> Open() {
    auto form = std::make_unique<FormSelezione>("Selezione Veicolo", &owner);
    std::vector<std::string> plates;
    MaintenanceStore store;
    EXPECT_TRUE(store.ListPlates(plates)) << store.ErrorText();
    form->SetPlates(plates);
    return form;
  }

  void StoreThreeVehicles() {
    StoreVehicle("ZZ999ZZ", "ULTIMA", 100, false);
    StoreVehicle("AB123CD", "PRIMA", 200, true);
    StoreVehicle("MM555MM", "SECONDA", 300, false);
  }

  // A real double-click on the item's middle: press, release, then the double-click.
  static void DoubleClickItem(HWND list, int index) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM where = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(list, WM_LBUTTONUP, 0, where);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
    SendMessageW(list, WM_LBUTTONUP, 0, where);
  }
};

TEST_F(FormSelezioneTest, OpensBesideItsDisabledOwnerWithTheStoredPlatesInOrder) {
  StoreThreeVehicles();
  auto form = Open();
  ASSERT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);
  EXPECT_EQ(form->GetTextAnsi(), "Selezione Veicolo");
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, form.get());
  EXPECT_FALSE(GetWindowLongW(form->window, GWL_STYLE) & WS_MAXIMIZEBOX);
  // Owned, hence a tool window; topmost as forms are by default.
  EXPECT_TRUE(GetWindowLongW(form->window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(form->window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(SendMessageW(form->window, WM_GETICON, ICON_SMALL, 0), 0);

  RECT client{};
  GetClientRect(form->window, &client);
  EXPECT_EQ(client.right, 230);
  EXPECT_EQ(client.bottom, 300);
  RECT outer{};
  RECT own{};
  GetWindowRect(owner.window, &outer);
  GetWindowRect(form->window, &own);
  EXPECT_EQ(own.left, outer.left + 150);
  EXPECT_EQ(own.top, outer.top + 50);

  EXPECT_EQ(form->plateLabel->GetTextAnsi(), "Targa:");
  EXPECT_EQ(form->okButton->GetTextAnsi(), "OK");
  EXPECT_EQ(form->cancelButton->GetTextAnsi(), "Annulla");
  RECT list = ClientBounds(form->plateList->window);
  EXPECT_EQ(list.left, 60);
  EXPECT_EQ(list.top, 10);
  EXPECT_EQ(list.right - list.left, 160);
  RECT ok = ClientBounds(form->okButton->window);
  EXPECT_EQ(ok.left, 10);
  EXPECT_EQ(ok.top, 265);
  RECT cancel = ClientBounds(form->cancelButton->window);
  EXPECT_EQ(cancel.left, 120);
  EXPECT_EQ(cancel.top, 265);
  // Tab order is creation order: the list, "Annulla", then "OK".
  EXPECT_EQ(GetWindow(form->plateList->window, GW_HWNDNEXT), form->cancelButton->window);
  EXPECT_EQ(GetWindow(form->cancelButton->window, GW_HWNDNEXT), form->okButton->window);

  ASSERT_EQ(form->plateList->ItemCount(), 3);
  EXPECT_EQ(SendMessageW(form->plateList->window, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(form->plateList->ItemText(0), "AB123CD");
  EXPECT_EQ(form->plateList->ItemText(1), "MM555MM");
  EXPECT_EQ(form->plateList->ItemText(2), "ZZ999ZZ");
  EXPECT_EQ(form->plateList->ItemKey(1), "MM555MM");
  EXPECT_EQ(form->plateList->SelectedIndex(), -1);
}

TEST_F(FormSelezioneTest, ADoubleClickChoosesThePlateAtOnce) {
  StoreThreeVehicles();
  auto form = Open();
  form->chosenVehicle.ID = 77;
  HWND window = form->window;
  DoubleClickItem(form->plateList->window, 1);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  EXPECT_EQ(form->chosenVehicle.TARGA, "MM555MM");
  EXPECT_EQ(form->chosenVehicle.DESCRIZIONE, "");
  EXPECT_EQ(form->chosenVehicle.KM, 0);
  EXPECT_FALSE(form->chosenVehicle.HasDate);
  EXPECT_EQ(form->chosenVehicle.DATA_KM.year, 1900);
  EXPECT_EQ(form->chosenVehicle.ID, 77);  // left as it was
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
}

TEST_F(FormSelezioneTest, OkAndEnterWithoutASelectionShowTheMessageAndKeepTheFormOpen) {
  StoreThreeVehicles();
  auto form = Open();
  SendMessageW(form->okButton->window, BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario selezionare il numero di targa.");
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->owner, form->window);
  EXPECT_EQ(GetFocus(), form->plateList->window);

  // Enter reaches the form through its key preview, as typed into the list.
  PostMessageW(form->plateList->window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PumpMessagesUntil([&] { return boxes.Requests().size() == 2; });
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(LastBox()->text, "E' necessario selezionare il numero di targa.");
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);
  EXPECT_FALSE(IsWindowEnabled(owner.window));

  // A double-click on the empty part of the list selects nothing: the same message.
  SendMessageW(form->plateList->window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 200));
  EXPECT_EQ(boxes.Requests().size(), 3u);
  EXPECT_TRUE(IsWindow(form->window));

  // With a selection Enter confirms.
  SendMessageW(form->plateList->window, LB_SETCURSEL, 2, 0);
  HWND window = form->window;
  PostMessageW(form->plateList->window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  EXPECT_EQ(form->chosenVehicle.TARGA, "ZZ999ZZ");
}

TEST_F(FormSelezioneTest, EscAndTheCloseBoxLeaveResultZeroAnnullaTwo) {
  StoreThreeVehicles();
  auto form = Open();
  SendMessageW(form->plateList->window, LB_SETCURSEL, 0, 0);
  HWND window = form->window;
  PostMessageW(form->plateList->window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);
  EXPECT_EQ(form->chosenVehicle.TARGA, "");
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);

  form = Open();
  SendMessageW(form->plateList->window, LB_SETCURSEL, 0, 0);
  window = form->window;
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));

  form = Open();
  SendMessageW(form->plateList->window, LB_SETCURSEL, 0, 0);
  window = form->window;
  SendMessageW(form->cancelButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 2);
  EXPECT_EQ(form->chosenVehicle.TARGA, "");
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_TRUE(boxes.Requests().empty());

  // An empty database gives an empty list; deleting an open form frees the owner.
  form = std::make_unique<FormSelezione>("Selezione Veicolo", &owner);
  form->SetPlates({});
  EXPECT_EQ(SendMessageW(form->plateList->window, LB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  form.reset();
  EXPECT_TRUE(IsWindowEnabled(owner.window));
}

}  // namespace
