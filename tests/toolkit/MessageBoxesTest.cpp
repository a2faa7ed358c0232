#include "toolkit/MessageBoxes.h"

#include <gtest/gtest.h>

#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WindowsTestSupport.h"

using namespace LumoUtility;

TEST(MessageBoxes, StylesOwnersAndAnswersThroughThePresenter) {
  MessageBoxRecorder boxes;
  HWND owner = reinterpret_cast<HWND>(0x1234);
  ShowMessage("Salvataggio del backup effettuato correttamente.", "Backup");
  ShowError("Errore durante il backup", "Errore", owner);
  ShowInfo("File di backup non trovato.", "Restore", owner);
  boxes.QueueAnswer(IDYES);
  EXPECT_TRUE(AskYesNo("Vuoi realmente uscire?", "Attenzione", owner));
  boxes.QueueAnswer(IDNO);
  EXPECT_FALSE(AskYesNo("Vuoi realmente uscire?", "Attenzione"));

  const auto& r = boxes.Requests();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].text, "Salvataggio del backup effettuato correttamente.");
  EXPECT_EQ(r[0].caption, "Backup");
  EXPECT_EQ(r[0].style, 0x2000u);
  EXPECT_EQ(r[0].owner, nullptr);
  EXPECT_EQ(r[1].style, 0x2010u);
  EXPECT_EQ(r[1].owner, owner);
  EXPECT_EQ(r[2].style, 0x2040u);
  EXPECT_EQ(r[3].style, 0x2024u);
  EXPECT_EQ(r[4].owner, nullptr);
}

TEST(MessageBoxes, RecorderRestoresTheRealBoxes) {
  {
    MessageBoxRecorder outer;
    {
      MessageBoxRecorder inner;
      ShowMessage("inner", "x");
      EXPECT_EQ(inner.Requests().size(), 1u);
    }
    ShowMessage("outer", "x");
    EXPECT_EQ(outer.Requests().size(), 1u);
  }
  auto box = AnswerMessageBoxAsync(L"Real", IDOK);
  ShowMessage("real box", "Real");
  EXPECT_TRUE(box.get().found);
}

TEST(MessageBoxes, AccentedItalianReachesTheRealBox) {
  auto box = AnswerMessageBoxAsync(L"Attenzione", IDNO);
  bool yes = AskYesNo(
      "Continuando come richiesto il database verrà ripristinato. Si desidera realmente "
      "procedere?",
      "Attenzione");
  ScreenMessageBox seen = box.get();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text,
            L"Continuando come richiesto il database verr\u00E0 ripristinato. Si desidera "
            L"realmente procedere?");
  EXPECT_FALSE(yes);

  auto yesBox = AnswerMessageBoxAsync(L"Prezzo \u20AC", IDYES);
  EXPECT_TRUE(AskYesNo("Costo 5 \x80 l\x92olio?", "Prezzo \x80"));
  ScreenMessageBox seenYes = yesBox.get();
  ASSERT_TRUE(seenYes.found);
  EXPECT_EQ(seenYes.text, L"Costo 5 \u20AC l\u2019olio?");
}

TEST(MessageBoxes, TaskModalBoxWithoutOwnerLeavesNoWindowDisabled) {
  HWND window = CreateWindowExW(0, L"STATIC", L"finestra", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  auto box = AnswerMessageBoxAsync(L"Errore", IDOK);
  ShowError("Inizializzazione del database fallita.", "Errore");
  EXPECT_TRUE(box.get().found);
  EXPECT_TRUE(IsWindowEnabled(window));
  DestroyWindow(window);
}
