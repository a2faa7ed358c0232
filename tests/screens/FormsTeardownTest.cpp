#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "screens/FormAnagInterv.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/FormStorico.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/ElementRegistry.h"

namespace {

constexpr int kRounds = 15;

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Everything a form made that must be gone once it is deleted: its window, every child
// window, and its font.
struct Made {
  std::vector<HWND> windows;
  HGDIOBJ font = nullptr;

  template <typename FormType>
  explicit Made(FormType& form) : font(form.formFont.handle) {
    windows.push_back(form.window);
    EnumChildWindows(form.window, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  }
  int Survivors() const {
    int alive = 0;
    for (HWND window : windows) alive += IsWindow(window) ? 1 : 0;
    if (font && GetObjectType(font) != 0) ++alive;
    return alive;
  }
};

class FormsTeardownTest : public ScreenTest {
 protected:
  // Opens and deletes the form many times, half of the rounds closed by the user first;
  // nothing it made may survive, and the owner must be usable again every time.
  template <typename Open>
  void ExpectNothingSurvives(Open open) {
    const std::size_t elementsBefore = LumoUtility::ElementRegistry::Elements().size();
    for (int round = 0; round < kRounds; ++round) {
      auto form = open();
      ASSERT_TRUE(IsWindow(form->window));
      Made made(*form);
      EXPECT_GT(made.windows.size(), 4u);
      EXPECT_NE(made.font, nullptr);
      EXPECT_FALSE(IsWindowEnabled(owner.window));
      if (round % 2 == 1) {
        HWND window = form->window;
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(WaitGone(window));
      }
      form.reset();
      EXPECT_EQ(made.Survivors(), 0) << "round " << round;
      EXPECT_TRUE(IsWindowEnabled(owner.window));
      EXPECT_EQ(owner.companion, nullptr);
    }
    EXPECT_EQ(LumoUtility::ElementRegistry::Elements().size(), elementsBefore);
  }
};

TEST_F(FormsTeardownTest, EveryFormReleasesItsWindowsAndFont) {
  ExpectNothingSurvives(
      [this] { return std::make_unique<MyApp::FormSelezione>("Selezione Veicolo", &owner); });
  ExpectNothingSurvives(
      [this] { return std::make_unique<MyApp::FormNuovo>("Nuovo Veicolo", &owner); });
  ExpectNothingSurvives(
      [this] { return std::make_unique<MyApp::FormIntervento>(&owner, "Nuovo Intervento"); });
  ExpectNothingSurvives([this] {
    return std::make_unique<MyApp::FormAnagInterv>(&owner, "Gestione Anagrafica Interventi");
  });
  ExpectNothingSurvives([this] { return std::make_unique<MyApp::FormStorico>(&owner, nullptr); });
  EXPECT_TRUE(boxes.Requests().empty());
}

}  // namespace
