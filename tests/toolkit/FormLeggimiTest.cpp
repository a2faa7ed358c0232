#include <gtest/gtest.h>

#include <windows.h>
#include <algorithm>

#include <memory>
#include <string>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/Button.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/Label.h"
#include "toolkit/TextBox.h"
#include "toolkit/base/TermsOfUseText.h"

using namespace LumoUtility;

namespace {

RECT Bounds(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds;
}

int closedResult = -1;
int ReadResultOnDestroy(GUIElement* element) {
  closedResult = static_cast<FormLeggimi*>(element)->result;
  return 0;
}

}  // namespace

class FormLeggimiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    closedResult = -1;
    owner.SetSize(700, 500);
    owner.SetPosition(50, 40);
    owner.Create();
    ASSERT_TRUE(IsWindow(owner.window));
  }

  std::unique_ptr<FormLeggimi> Open() {
    auto terms = std::make_unique<FormLeggimi>("Leggimi", &owner, TestInstance());
    terms->onDestroy = ReadResultOnDestroy;
    return terms;
  }

  // Waits until the terms window is gone; answers its result.
  int WaitClosed(FormLeggimi& terms) {
    HWND window = terms.window;
    EXPECT_TRUE(PumpMessagesUntil([window] { return !IsWindow(window); }));
    return terms.result;
  }

  ToolkitStateScope scope;
  RecordingForm owner;
};

TEST_F(FormLeggimiTest, OpensOverItsDisabledOwnerWithTheTermsAndFocusOnAccetto) {
  auto terms = Open();
  ASSERT_TRUE(IsWindow(terms->window));
  EXPECT_EQ(terms->result, 0);
  EXPECT_EQ(terms->GetTextAnsi(), "Leggimi");
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, terms.get());
  EXPECT_TRUE(GetWindowLongW(terms->window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongW(terms->window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(terms->window, GWL_STYLE) & WS_MAXIMIZEBOX);

  RECT client{};
  GetClientRect(terms->window, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 250);
  RECT outer = Bounds(owner.window);
  RECT own = Bounds(terms->window);
  EXPECT_NEAR((own.left + own.right) / 2, (outer.left + outer.right) / 2, 1);
  EXPECT_NEAR((own.top + own.bottom) / 2, (outer.top + outer.bottom) / 2, 1);

  EXPECT_EQ(terms->caption->GetTextAnsi(), "Condizioni di utilizzo:");
  EXPECT_EQ(terms->termsText->GetTextAnsi(), TermsOfUseText());
  EXPECT_EQ(terms->acceptButton->GetTextAnsi(), "Accetto");
  EXPECT_EQ(terms->declineButton->GetTextAnsi(), "Non Accetto");
  EXPECT_EQ(GetFocus(), terms->acceptButton->window);

  // The text can be scrolled and selected but not changed.
  HWND text = terms->termsText->window;
  EXPECT_TRUE(GetWindowLongW(text, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongW(text, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(text, GWL_STYLE) & WS_HSCROLL);
  // Long lines wrap: nothing of the terms hides beyond the right edge.
  EXPECT_FALSE(GetWindowLongW(text, GWL_STYLE) & ES_AUTOHSCROLL);
  const std::string body = TermsOfUseText();
  const auto breaks = std::count(body.begin(), body.end(), '\n');
  EXPECT_GT(SendMessageW(text, EM_GETLINECOUNT, 0, 0), breaks + 1);
  terms->termsText->Focus();
  SendMessageW(text, WM_CHAR, 'x', 0);
  SendMessageW(text, WM_CHAR, 8, 0);
  EXPECT_EQ(terms->termsText->GetTextAnsi(), TermsOfUseText());
  SendMessageW(text, EM_SETSEL, 0, 12);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end - start, 12u);
  SendMessageW(text, EM_SCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(FormLeggimiTest, AccettoAndNonAccettoGiveTheirResultsAndFreeTheOwner) {
  auto terms = Open();
  SendMessageW(terms->acceptButton->window, BM_CLICK, 0, 0);
  EXPECT_EQ(WaitClosed(*terms), FormLeggimi::kAccepted);
  EXPECT_EQ(closedResult, 1);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);

  terms = Open();
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  SendMessageW(terms->declineButton->window, BM_CLICK, 0, 0);
  EXPECT_EQ(WaitClosed(*terms), FormLeggimi::kDeclined);
  EXPECT_EQ(closedResult, 2);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
}

TEST_F(FormLeggimiTest, EscAndTheCloseBoxLeaveResultZero) {
  auto terms = Open();
  // Esc typed on the focused button reaches the form through its key preview.
  PostMessageW(terms->acceptButton->window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(WaitClosed(*terms), 0);
  EXPECT_EQ(closedResult, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));

  terms = Open();
  PostMessageW(terms->termsText->window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(WaitClosed(*terms), 0);

  terms = Open();
  SendMessageW(terms->window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(WaitClosed(*terms), 0);
  EXPECT_EQ(closedResult, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);

  // Deleting a form that is still open frees its owner too.
  terms = Open();
  EXPECT_FALSE(IsWindowEnabled(owner.window));
  terms.reset();
  EXPECT_TRUE(IsWindowEnabled(owner.window));
}

TEST_F(FormLeggimiTest, WithoutAnOwnerItIsCentredOnTheScreenAndDisablesNothing) {
  FormLeggimi terms("Leggimi", nullptr, TestInstance());
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
  EXPECT_FALSE(GetWindowLongW(terms.window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  RECT own = Bounds(terms.window);
  EXPECT_NEAR((own.left + own.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((own.top + own.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  SendMessageW(terms.acceptButton->window, BM_CLICK, 0, 0);
  EXPECT_EQ(WaitClosed(terms), 1);
}
