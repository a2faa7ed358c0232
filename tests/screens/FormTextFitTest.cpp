// Every label, button and date of the forms fits its control on one line, measured in the
// font the control draws with: the controls' sizes are fixed, so a font wider than the one
// they were laid out for clips texts or wraps them out of sight.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "screens/FormAnagInterv.h"
#include "screens/FormCopie.h"
#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/FormStorico.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/base/TextEncoding.h"

namespace {

using LumoUtility::Form;

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// Every window of the test's thread and all their descendants.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> topLevel;
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&topLevel));
  std::vector<HWND> all = topLevel;
  for (HWND window : topLevel) EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&all));
  return all;
}

SIZE TextExtent(HWND control, const std::wstring& text) {
  LumoUtility::WindowDC dc(control);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
  LumoUtility::ObjectSelection selection(dc.Get(), font ? font : GetStockObject(SYSTEM_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent;
}

// The width a control leaves its text on one line, or -1 for a control whose text is not
// checked: a label its client width, a push button what its edges leave, a check box what
// its box leaves, a date picker what its check box and drop-down button leave (given the
// widest date, two-digit day and month).
int TextRoom(HWND control) {
  wchar_t kind[64] = {};
  GetClassNameW(control, kind, 64);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  RECT client{};
  GetClientRect(control, &client);
  const int edges = 2 * GetSystemMetrics(SM_CXEDGE);
  if (_wcsicmp(kind, L"Static") == 0) return client.right;
  if (_wcsicmp(kind, L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    const bool pushed = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
    return client.right - edges - (pushed ? 0 : GetSystemMetrics(SM_CXMENUCHECK));
  }
  if (_wcsicmp(kind, DATETIMEPICK_CLASSW) == 0) {
    SYSTEMTIME widest{2023, 12, 0, 28, 0, 0, 0, 0};
    SendMessageW(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&widest));
    const int box = (style & DTS_SHOWNONE) ? GetSystemMetrics(SM_CXMENUCHECK) : 0;
    return client.right - GetSystemMetrics(SM_CXVSCROLL) - box;
  }
  return -1;
}

class FormTextFitTest : public ScreenTest {};

TEST_F(FormTextFitTest, EveryLabelButtonAndDateFitsItsControlOnOneLine) {
  const std::vector<std::pair<const char*, std::function<std::unique_ptr<Form>()>>> forms = {
      {"Nuovo Veicolo",
       [this] { return std::make_unique<MyApp::FormNuovo>("Nuovo Veicolo", &owner); }},
      {"Nuovo Intervento",
       [this] { return std::make_unique<MyApp::FormIntervento>(&owner, "Nuovo Intervento"); }},
      {"Gestione Anagrafica Interventi",
       [this] { return std::make_unique<MyApp::FormAnagInterv>(&owner, "Anagrafica"); }},
      {"Selezione Veicolo",
       [this] { return std::make_unique<MyApp::FormSelezione>("Selezione Veicolo", &owner); }},
      {"Storico interventi",
       [this] { return std::make_unique<MyApp::FormStorico>(&owner, nullptr); }},
      {"Copie automatiche",
       [this] {
         return std::make_unique<MyApp::FormCopie>(
             &owner, std::vector<MyApp::CopyChoice>{{"07/12/2026  20:31:05   1.234 KB", L""}});
       }},
      // Its terms window stays open above it.
      {"main window and Leggimi",
       [] { return std::make_unique<MyApp::FormGrid>(TestInstance(), "Manutenzione"); }},
  };
  for (const auto& [name, open] : forms) {
    SCOPED_TRACE(name);
    const std::unique_ptr<Form> form = open();
    ASSERT_TRUE(IsWindow(form->window));
    for (HWND control : ThreadWindows()) {
      const int room = TextRoom(control);
      wchar_t text[256] = {};
      if (room < 0 || GetWindowTextW(control, text, 256) == 0) continue;
      RECT client{};
      GetClientRect(control, &client);
      const SIZE extent = TextExtent(control, text);
      EXPECT_LE(extent.cx, room) << LumoUtility::NarrowText(text);
      EXPECT_LE(extent.cy, client.bottom) << LumoUtility::NarrowText(text);
    }
  }
}

}  // namespace
