#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "screens/FormNuovo.h"
#include "screens/KmText.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/DatePicker.h"
#include "toolkit/Label.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"

using MyApp::FormNuovo;

namespace {

class FormNuovoTest : public ScreenTest {
 protected:
  std::unique_ptr<FormNuovo> OpenNew() {
    return std::make_unique<FormNuovo>("Nuovo Veicolo", &owner);
  }
  std::unique_ptr<FormNuovo> OpenChange(const VehicleRecord& vehicle) {
    auto form = std::make_unique<FormNuovo>("Modifica Veicolo", &owner);
    form->LoadVehicle(vehicle);
    return form;
  }
  static bool DateTicked(const FormNuovo& form) {
    SYSTEMTIME shown{};
    return SendMessageW(form.datePicker->window, DTM_GETSYSTEMTIME, 0,
                        reinterpret_cast<LPARAM>(&shown)) == GDT_VALID;
  }
  static void ClickOk(FormNuovo& form) { SendMessageW(form.okButton->window, BM_CLICK, 0, 0); }
  static void SetKmText(FormNuovo& form, const std::string& text) {
    form.kmBox->Focus();
    SetWindowTextA(form.kmBox->window, text.c_str());
  }
};

TEST_F(FormNuovoTest, OpensEmptyBesideItsDisabledOwnerWithTheControlsInPlace) {
  auto form = OpenNew();
  ASSERT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->GetTextAnsi(), "Nuovo Veicolo");
  EXPECT_EQ(form->result, 0);
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, form.get());
  EXPECT_FALSE(GetWindowLongW(form->window, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_NE(SendMessageW(form->window, WM_GETICON, ICON_SMALL, 0), 0);
  RECT client{};
  GetClientRect(form->window, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 250);
  RECT outer{};
  RECT own{};
  GetWindowRect(owner.window, &outer);
  GetWindowRect(form->window, &own);
  EXPECT_EQ(own.left, outer.left + 50);
  EXPECT_EQ(own.top, outer.top + 50);

  EXPECT_EQ(form->plateLabel->GetTextAnsi(), "Targa:");
  EXPECT_EQ(form->descriptionLabel->GetTextAnsi(), "Descrizione:");
  EXPECT_EQ(form->kmLabel->GetTextAnsi(), "Km:");
  EXPECT_EQ(form->dateLabel->GetTextAnsi(), "Alla data:");
  const RECT plate = ClientBounds(form->plateBox->window);
  EXPECT_EQ(plate.left, 100);
  EXPECT_EQ(plate.top, 8);
  const RECT description = ClientBounds(form->descriptionBox->window);
  EXPECT_EQ(description.left, 10);
  EXPECT_EQ(description.top, 65);
  EXPECT_EQ(description.right - description.left, 380);
  EXPECT_EQ(description.bottom - description.top, 100);
  const RECT date = ClientBounds(form->datePicker->window);
  EXPECT_EQ(date.left, 280);
  EXPECT_EQ(date.top, 173);
  EXPECT_EQ(ClientBounds(form->okButton->window).left, 180);
  EXPECT_EQ(ClientBounds(form->cancelButton->window).left, 290);

  const LONG descriptionStyle = GetWindowLongW(form->descriptionBox->window, GWL_STYLE);
  EXPECT_TRUE(descriptionStyle & ES_MULTILINE);
  EXPECT_TRUE(descriptionStyle & ES_UPPERCASE);
  EXPECT_TRUE(GetWindowLongW(form->kmBox->window, GWL_STYLE) & ES_NUMBER);
  EXPECT_EQ(SendMessageW(form->kmSpinner->window, UDM_GETBUDDY, 0, 0),
            reinterpret_cast<LRESULT>(form->kmBox->window));
  EXPECT_FALSE(DateTicked(*form));
  EXPECT_FALSE(GetWindowLongW(form->plateBox->window, GWL_STYLE) & ES_READONLY);
}

TEST_F(FormNuovoTest, ThePlateRefusesSpacesAndShowsCapitalsAndMustNotBeEmpty) {
  auto form = OpenNew();
  form->plateBox->Focus();
  Type(form->plateBox->window, "ab 12\tc");
  EXPECT_EQ(form->plateBox->GetTextAnsi(), "AB12C");
  Type(form->plateBox->window, "defghijklm");  // at most ten characters
  EXPECT_EQ(form->plateBox->GetTextAnsi(), "AB12CDEFGH");
  Type(form->descriptionBox->window, "utilitaria rossa");
  EXPECT_EQ(form->descriptionBox->GetTextAnsi(), "UTILITARIA ROSSA");

  SetWindowTextA(form->plateBox->window, "");
  ClickOk(*form);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario impostare il numero di targa.");
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->owner, form->window);
  EXPECT_EQ(GetFocus(), form->plateBox->window);
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);

  // Enter does not confirm this form; an empty description, km and date are accepted.
  Type(form->plateBox->window, "xy987");
  PostMessageW(form->plateBox->window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindow(form->window));
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  EXPECT_EQ(form->editedVehicle.TARGA, "XY987");
  EXPECT_EQ(form->editedVehicle.DESCRIZIONE, "UTILITARIA ROSSA");
  EXPECT_EQ(form->editedVehicle.KM, 0);
  EXPECT_FALSE(form->editedVehicle.HasDate);
  EXPECT_EQ(form->editedVehicle.ID, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
}

TEST_F(FormNuovoTest, ChangingShowsThePlateReadOnlyAndTicksTheDateOnlyWhenThereIsOne) {
  const VehicleRecord dated = StoreVehicle("AB123CD", "BERLINA GRIGIA", 12000, true);
  auto form = OpenChange(dated);
  EXPECT_EQ(form->GetTextAnsi(), "Modifica Veicolo");
  EXPECT_EQ(form->plateBox->GetTextAnsi(), "AB123CD");
  EXPECT_TRUE(GetWindowLongW(form->plateBox->window, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(form->descriptionBox->GetTextAnsi(), "BERLINA GRIGIA");
  EXPECT_EQ(GetFocus(), form->descriptionBox->window);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), MyApp::GroupedKm(12000));
  ASSERT_TRUE(DateTicked(*form));
  SYSTEMTIME shown = form->datePicker->GetDate();
  EXPECT_EQ(shown.wYear, 2023);
  EXPECT_EQ(shown.wMonth, 4);
  EXPECT_EQ(shown.wDay, 17);

  // The km box is plain while edited and grouped otherwise.
  form->kmBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "12000");
  SetWindowTextA(form->kmBox->window, "23456");
  form->descriptionBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), MyApp::GroupedKm(23456));

  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_TRUE(boxes.Requests().empty());  // changing a stored plate asks nothing
  EXPECT_EQ(form->result, 1);
  EXPECT_EQ(form->editedVehicle.TARGA, "AB123CD");
  EXPECT_EQ(form->editedVehicle.KM, 23456);
  EXPECT_TRUE(form->editedVehicle.HasDate);
  EXPECT_EQ(form->editedVehicle.DATA_KM, LumoUtility::MakeDate(2023, 4, 17));

  const VehicleRecord undated = StoreVehicle("CD456EF", "", 0, false);
  form = OpenChange(undated);
  EXPECT_FALSE(DateTicked(*form));
  EXPECT_TRUE(GetWindowLongW(form->plateBox->window, GWL_STYLE) & ES_READONLY);
  // A typed space in a read-only plate changes nothing either.
  Type(form->plateBox->window, " x");
  EXPECT_EQ(form->plateBox->GetTextAnsi(), "CD456EF");
  window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  EXPECT_FALSE(form->editedVehicle.HasDate);
}

TEST_F(FormNuovoTest, AnEmptyKmBoxIsAReadingOfZero) {
  auto form = OpenNew();
  Type(form->plateBox->window, "vuoto1");
  SetKmText(*form, "");
  form->descriptionBox->Focus();
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_TRUE(boxes.Requests().empty());
  ASSERT_EQ(form->result, 1);
  MaintenanceStore store;
  VehicleRecord vehicle = form->editedVehicle;
  ASSERT_TRUE(store.SaveVehicle(vehicle)) << store.ErrorText();
  EXPECT_EQ(store.LoadVehicleByPlate("VUOTO1").KM, 0);
}

TEST_F(FormNuovoTest, AKmFigureTheSpinnerCannotReadIsRefusedAndKeptAsTyped) {
  auto form = OpenNew();
  Type(form->plateBox->window, "km1");
  form->kmBox->Focus();
  Type(form->kmBox->window, "1500000");  // seven digits fit in the box
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "1500000");
  ClickOk(*form);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text,
            "Il valore dei Km deve essere un numero intero compreso tra 0 e 1.000.000.");
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->owner, form->window);
  EXPECT_EQ(GetFocus(), form->kmBox->window);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "1500000");
  // Leaving the box keeps the text too.
  form->descriptionBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "1500000");
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);

  // Pasted text that is no number.
  SetKmText(*form, "12a4");
  ClickOk(*form);
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "12a4");
  EXPECT_TRUE(IsWindow(form->window));

  // The top of the range is accepted.
  SetKmText(*form, "1000000");
  form->descriptionBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), MyApp::GroupedKm(1000000));
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(form->result, 1);
  EXPECT_EQ(form->editedVehicle.KM, 1000000);
}

TEST_F(FormNuovoTest, ANewVehicleWithAStoredPlateAsksBeforeOverwriting) {
  StoreVehicle("AB123CD", "BERLINA GRIGIA", 12000, true);
  auto form = OpenNew();
  Type(form->plateBox->window, "ab123cd");
  Type(form->descriptionBox->window, "altra");
  boxes.QueueAnswer(IDNO);
  ClickOk(*form);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->caption, "Conferma");
  EXPECT_NE(LastBox()->text.find("AB123CD"), std::string::npos);
  EXPECT_TRUE(LastBox()->style & MB_YESNO);
  EXPECT_EQ(LastBox()->owner, form->window);
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);
  EXPECT_EQ(form->editedVehicle.TARGA, "");  // nothing taken over
  EXPECT_EQ(GetFocus(), form->plateBox->window);
  EXPECT_EQ(MaintenanceStore().LoadVehicleByPlate("AB123CD").DESCRIZIONE, "BERLINA GRIGIA");

  boxes.QueueAnswer(IDYES);
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(form->result, 1);
  EXPECT_EQ(form->editedVehicle.TARGA, "AB123CD");
  EXPECT_EQ(form->editedVehicle.DESCRIZIONE, "ALTRA");

  // A plate not stored yet asks nothing.
  form = OpenNew();
  Type(form->plateBox->window, "NEW1");
  window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(form->result, 1);
}

TEST_F(FormNuovoTest, ADateTickedIsTakenAndEscCloseBoxAndAnnullaGiveTheirResults) {
  auto form = OpenNew();
  Type(form->plateBox->window, "DT1");
  SYSTEMTIME date{};
  date.wYear = 2024;
  date.wMonth = 2;
  date.wDay = 29;
  form->datePicker->SetDate(date);
  ASSERT_TRUE(DateTicked(*form));
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  EXPECT_TRUE(form->editedVehicle.HasDate);
  EXPECT_EQ(form->editedVehicle.DATA_KM, LumoUtility::MakeDate(2024, 2, 29));

  form = OpenNew();
  Type(form->plateBox->window, "ESC");
  window = form->window;
  PostMessageW(form->plateBox->window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));

  form = OpenNew();
  window = form->window;
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);

  form = OpenNew();
  Type(form->plateBox->window, "ANN");
  window = form->window;
  SendMessageW(form->cancelButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 2);
  EXPECT_EQ(form->editedVehicle.TARGA, "");
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
  EXPECT_TRUE(boxes.Requests().empty());
}

}  // namespace
