#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "screens/FormIntervento.h"
#include "screens/KmText.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/Label.h"
#include "toolkit/NumericBox.h"
#include "toolkit/SystemDates.h"
#include "toolkit/TextBox.h"
#include "toolkit/UserLocale.h"

using MyApp::FormIntervento;

namespace {

class FormInterventoTest : public ScreenTest {
 protected:
  std::unique_ptr<FormIntervento> Open(const char* title = "Nuovo Intervento") {
    return std::make_unique<FormIntervento>(&owner, title);
  }
  // Chooses the item as the user does: the list reports the change to its form.
  static void ChooseType(FormIntervento& form, int index) {
    SendMessageW(form.typeList->window, CB_SETCURSEL, index, 0);
    SendMessageW(form.window, WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(form.typeList->window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.typeList->window));
  }
  static int IndexOf(const FormIntervento& form, std::int32_t id) {
    for (std::size_t i = 0; i < form.catalogue.size(); ++i) {
      if (form.catalogue[i].ID == id) return static_cast<int>(i);
    }
    return -1;
  }
  static void ClickOk(FormIntervento& form) { SendMessageW(form.okButton->window, BM_CLICK, 0, 0); }
  static LumoUtility::DateTimeValue Today() {
    const LumoUtility::DateTimeValue now = LumoUtility::LocalNow();
    return LumoUtility::MakeDate(now.year, now.month, now.day);
  }
};

TEST_F(FormInterventoTest, OpensWithTheCatalogueTodayAndTheFocusOnTheTypeList) {
  auto form = Open();
  ASSERT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->GetTextAnsi(), "Nuovo Intervento");
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(GetWindowLongW(form->window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongW(form->window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(form->window, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, form.get());
  RECT client{};
  GetClientRect(form->window, &client);
  EXPECT_EQ(client.right, 500);
  EXPECT_EQ(client.bottom, 350);
  RECT outer{};
  RECT own{};
  GetWindowRect(owner.window, &outer);
  GetWindowRect(form->window, &own);
  EXPECT_EQ(own.left, outer.left + 50);
  EXPECT_EQ(own.top, outer.top + 50);
  EXPECT_EQ(GetFocus(), form->typeList->window);

  const std::vector<InterventionType> stored = StoredTypes();
  ASSERT_EQ(stored.size(), 25u);
  ASSERT_EQ(form->catalogue.size(), stored.size());
  ASSERT_EQ(SendMessageW(form->typeList->window, CB_GETCOUNT, 0, 0), 25);
  for (std::size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(form->typeList->ItemKeyAnsi(static_cast<int>(i)), std::to_string(stored[i].ID));
  }
  EXPECT_EQ(form->typeList->SelectedIndex(), -1);
  EXPECT_EQ(form->descriptionLabel->GetTextAnsi(), "");
  EXPECT_TRUE(GetWindowLongW(form->descriptionLabel->window, GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(LumoUtility::DateFromSystemTime(form->datePicker->GetDate()), Today());
  EXPECT_EQ(form->costBox->Value(), 0.0);

  EXPECT_EQ(ClientBounds(form->kmBox->window).left, 100);
  EXPECT_EQ(ClientBounds(form->kmBox->window).top, 103);
  EXPECT_EQ(ClientBounds(form->datePicker->window).left, 280);
  EXPECT_EQ(ClientBounds(form->costBox->window).top, 130);
  const RECT notes = ClientBounds(form->notesBox->window);
  EXPECT_EQ(notes.left, 10);
  EXPECT_EQ(notes.top, 180);
  EXPECT_EQ(notes.right - notes.left, 480);
  EXPECT_EQ(ClientBounds(form->okButton->window).left, 280);
  EXPECT_EQ(ClientBounds(form->cancelButton->window).left, 390);
  EXPECT_EQ(ClientBounds(form->cancelButton->window).top, 315);
}

TEST_F(FormInterventoTest, NotesWithAnAmpersandAreShownAsWritten) {
  const InterventionType type = StoreType("AMPERSAND PROVA", 1000, false, "OLIO & FILTRO");
  auto form = Open();
  const int index = IndexOf(*form, type.ID);
  ASSERT_GE(index, 0);
  ChooseType(*form, index);
  EXPECT_EQ(form->descriptionLabel->GetTextAnsi().rfind("OLIO & FILTRO", 0), 0u);
  // The label shows the user's data: "&" is not an access-key marker there.
  const LONG style = GetWindowLongW(form->descriptionLabel->window, GWL_STYLE);
  EXPECT_TRUE(style & SS_NOPREFIX);
  EXPECT_TRUE(style & WS_BORDER);
}

TEST_F(FormInterventoTest, OkChecksTheTypeFirstThenTheKmAndConfirmsOnceCorrected) {
  const InterventionType oil = StoreType("CAMBIO OLIO PROVA", 15000, false, "OLIO MOTORE");
  auto form = Open();
  ClickOk(*form);  // no type, km box empty: only the type message
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario selezionare il tipo di intervento.");
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->owner, form->window);
  EXPECT_EQ(GetFocus(), form->typeList->window);

  const int index = IndexOf(*form, oil.ID);
  ASSERT_GE(index, 0);
  ChooseType(*form, index);
  EXPECT_EQ(form->descriptionLabel->GetTextAnsi(),
            MyApp::TypeDescription(oil, LumoUtility::UserDefaultLocale()));
  const std::string description = form->descriptionLabel->GetTextAnsi();
  EXPECT_EQ(description.substr(description.size() - 4), " Km ");  // no running-in text

  ClickOk(*form);
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(LastBox()->text, "E' necessario impostare i Km del veicolo.");
  EXPECT_EQ(GetFocus(), form->kmBox->window);
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);

  Type(form->kmBox->window, "42500");
  form->costBox->Focus();
  EXPECT_EQ(form->kmBox->GetTextAnsi(), MyApp::GroupedKm(42500));
  SetWindowTextA(form->costBox->window, "35");
  form->notesBox->Focus();
  Type(form->notesBox->window, "filtro compreso");
  EXPECT_EQ(form->notesBox->GetTextAnsi(), "FILTRO COMPRESO");
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(form->result, 1);
  const VehicleIntervention done = form->GetIntervention();
  EXPECT_EQ(done.ID, 0);
  EXPECT_EQ(done.ID_INTERVENTO, oil.ID);
  EXPECT_EQ(done.KM, 42500);
  EXPECT_EQ(done.DATA, Today());
  EXPECT_DOUBLE_EQ(done.COSTO, 35.0);
  EXPECT_EQ(done.NOTE, "FILTRO COMPRESO");
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
}

TEST_F(FormInterventoTest, AKmTextOutsideTheRangeIsRefusedWithTheKmMessageAndKept) {
  auto form = Open();
  ChooseType(*form, 0);
  form->kmBox->Focus();
  Type(form->kmBox->window, "9999999");
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "9999999");
  ClickOk(*form);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario impostare i Km del veicolo.");
  EXPECT_EQ(form->kmBox->GetTextAnsi(), "9999999");
  EXPECT_TRUE(IsWindow(form->window));
  EXPECT_EQ(form->result, 0);
}

TEST_F(FormInterventoTest, ANeverDoneScheduleLineKeepsTodayAndADoneOneShowsItsValues) {
  const InterventionType belt = StoreType("CINGHIA PROVA", 60000, true, "CINGHIA DISTRIBUZIONE");
  ScheduleRow never;
  never.ID_INTERVENTO = belt.ID;
  never.INTERVENTO = belt.INTERVENTO;
  auto form = Open("Modifica Intervento");
  form->LoadIntervention(never);
  EXPECT_EQ(form->typeList->SelectedIndex(), IndexOf(*form, belt.ID));
  EXPECT_NE(
      form->descriptionLabel->GetTextAnsi().find("CINGHIA DISTRIBUZIONE - da effettuare ogni "),
      std::string::npos);
  const std::string description = form->descriptionLabel->GetTextAnsi();
  EXPECT_EQ(description.substr(description.size() - 22), " Km  o a fine rodaggio");
  EXPECT_EQ(LumoUtility::DateFromSystemTime(form->datePicker->GetDate()), Today());
  ClickOk(*form);  // km 0 still needs a reading
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "E' necessario impostare i Km del veicolo.");
  SetWindowTextA(form->kmBox->window, "61000");
  HWND window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  VehicleIntervention stored = form->GetIntervention();
  EXPECT_EQ(stored.ID, 0);  // a new row
  EXPECT_EQ(stored.DATA, Today());
  EXPECT_EQ(stored.KM, 61000);

  ScheduleRow done;
  done.ID = 9;
  done.ID_INTERVENTO = belt.ID;
  done.KM = 30500;
  done.DATA = LumoUtility::MakeDate(2022, 3, 4);
  done.COSTO = 12.5;
  done.NOTE = "IN OFFICINA";
  form = Open("Modifica Intervento");
  form->LoadIntervention(done);
  EXPECT_EQ(form->kmBox->GetTextAnsi(), MyApp::GroupedKm(30500));
  EXPECT_EQ(LumoUtility::DateFromSystemTime(form->datePicker->GetDate()),
            LumoUtility::MakeDate(2022, 3, 4));
  EXPECT_DOUBLE_EQ(form->costBox->Value(), 12.5);
  EXPECT_EQ(form->notesBox->GetTextAnsi(), "IN OFFICINA");
  window = form->window;
  ClickOk(*form);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 1);
  stored = form->GetIntervention();
  EXPECT_EQ(stored.ID, 9);
  EXPECT_EQ(stored.ID_INTERVENTO, belt.ID);
  EXPECT_EQ(stored.KM, 30500);
  EXPECT_EQ(stored.DATA, LumoUtility::MakeDate(2022, 3, 4));
  EXPECT_DOUBLE_EQ(stored.COSTO, 12.5);
  EXPECT_EQ(stored.NOTE, "IN OFFICINA");

  // A kind no longer in the catalogue leaves the list without selection.
  ScheduleRow unknown;
  unknown.ID_INTERVENTO = 999999;
  form = Open("Modifica Intervento");
  form->LoadIntervention(unknown);
  EXPECT_EQ(form->typeList->SelectedIndex(), -1);
  EXPECT_EQ(form->descriptionLabel->GetTextAnsi(), "");
}

TEST_F(FormInterventoTest, NotesTakeCapitalsUpTo255AndEscCloseBoxAnnullaGiveTheirResults) {
  auto form = Open();
  form->notesBox->Focus();
  Type(form->notesBox->window, std::string(258, 'a'));  // each refused one beeps
  EXPECT_EQ(form->notesBox->GetTextAnsi(), std::string(255, 'A'));
  HWND window = form->window;
  PostMessageW(form->notesBox->window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));

  form = Open();
  window = form->window;
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 0);

  form = Open();
  ChooseType(*form, 1);
  window = form->window;
  SendMessageW(form->cancelButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(form->result, 2);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST(TypeDescription, ReadsNotesCadenceAndRunningIn) {
  InterventionType type;
  type.NOTE = "OLIO";
  type.CADENZAKM = 15000;
  const std::locale italian = LumoUtility::LocaleWithPunctuation({',', '.', "\3"});
  EXPECT_EQ(MyApp::TypeDescription(type, italian), "OLIO - da effettuare ogni 15.000 Km ");
  type.FINERODAGGIO = true;
  EXPECT_EQ(MyApp::TypeDescription(type, italian),
            "OLIO - da effettuare ogni 15.000 Km  o a fine rodaggio");
  type.MESI = 24;
  EXPECT_EQ(MyApp::TypeDescription(type, italian),
            "OLIO - da effettuare ogni 15.000 Km o 24 mesi o a fine rodaggio");
  type.FINERODAGGIO = false;
  EXPECT_EQ(MyApp::TypeDescription(type, italian), "OLIO - da effettuare ogni 15.000 Km o 24 mesi");
  EXPECT_EQ(MyApp::KeyNumber("42"), 42);
  EXPECT_EQ(MyApp::KeyNumber("17abc"), 17);
  EXPECT_EQ(MyApp::KeyNumber("abc"), 0);
  EXPECT_EQ(MyApp::KeyNumber(""), 0);
}

}  // namespace
