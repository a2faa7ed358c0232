#include <gtest/gtest.h>

#include <memory>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/Button.h"
#include "toolkit/FormHandlers.h"

using namespace LumoUtility;

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

std::wstring WindowText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

}  // namespace

TEST(FormHandlerTrampolines, ControlsReachTheirFormsHandlers) {
  ToolkitStateScope scope;
  RecordingForm form;
  std::unique_ptr<TestControl> edit;
  std::unique_ptr<Button> button;
  form.buildControls = [&](RecordingForm& self) {
    edit = std::make_unique<TestControl>(&self, L"edit", kEditStyle, "textbox");
    edit->onKeyPress = KeyPressTrampoline;
    edit->onLeftButtonUp = MouseUpTrampoline;
    edit->Create();
    button = std::make_unique<Button>(&self, "OK");
    button->commandHandler = CommandTrampoline;
    button->Create();
  };
  form.Create();

  // A text box refuses Tab through OnChildKeyPress and takes other characters.
  EXPECT_EQ(SendMessageW(edit->window, WM_CHAR, '\t', 0), 1);
  SendMessageW(edit->window, WM_CHAR, 'a', 0);
  SendMessageW(edit->window, WM_CHAR, 'b', 0);
  EXPECT_EQ(WindowText(edit->window), L"ab");

  // Releasing the mouse over a text box selects its whole text.
  SendMessageW(edit->window, EM_SETSEL, 1, 1);
  SendMessageW(edit->window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit->window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u);

  SendMessageW(button->window, BM_CLICK, 0, 0);
  ASSERT_EQ(form.commands.size(), 1u);
  EXPECT_EQ(form.commands[0], button.get());
}

TEST(FormHandlerTrampolines, NoHandlerRunsOnceTheDerivedFormIsGone) {
  ToolkitStateScope scope;
  // A form deleted with its window open: ~Form closes the window, and the close must
  // not reach the handlers of the part that was already destroyed.
  static int closingCalls = 0;
  closingCalls = 0;
  struct CountingForm : FormHandlers {
    CountingForm() : FormHandlers(TestInstance()) { WireFormHandlers(); }
    bool OnClosing() override {
      ++closingCalls;
      return true;
    }
  };
  auto form = std::make_unique<CountingForm>();
  form->Create();
  HWND window = form->window;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(closingCalls, 1);
  auto second = std::make_unique<CountingForm>();
  second->Create();
  window = second->window;
  second.reset();
  EXPECT_EQ(closingCalls, 1);
  EXPECT_FALSE(IsWindow(window));
}
