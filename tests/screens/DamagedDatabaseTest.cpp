// The main window and its screens over a database file that is not a usable Access
// database: every action ends in an error box, nothing crashes or hangs, and restoring a
// good backup brings the program back, with the damaged file kept as the safety copy.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "data/DatabasePath.h"
#include "data/jet/FormatConstants.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormGrid.h"
#include "screens/FormNuovo.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/TemporaryDirectory.h"
#include "toolkit/Button.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/Grid.h"
#include "toolkit/Menus.h"
#include "toolkit/Shell.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

struct Damage {
  const char* name;
  std::string (*make)(const std::string& goodDatabase);
};

std::string RandomBytes(const std::string&) {
  std::mt19937 generator(20261207);
  std::string bytes(65536, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}
std::string TextFile(const std::string&) {
  std::string text;
  for (int i = 0; i < 500; ++i)
    text += "Questo non è un database; riga " + std::to_string(i) + "\r\n";
  return text;
}
std::string EmptyFile(const std::string&) { return ""; }
std::string CutInsideAPage(const std::string& good) { return good.substr(0, 6000); }
std::string FirstPagesOnly(const std::string& good) { return good.substr(0, 3 * 4096); }
std::string Access97(const std::string& good) {
  std::string bytes = good;
  bytes[Jet::Format::Header::kVersion] = static_cast<char>(Jet::Format::Header::kVersionJet3);
  return bytes;
}

const Damage kDamages[] = {
    {"RandomBytes", RandomBytes},       {"TextFile", TextFile},
    {"EmptyFile", EmptyFile},           {"CutInsideAPage", CutInsideAPage},
    {"FirstPagesOnly", FirstPagesOnly}, {"Access97", Access97},
};

class DamagedDatabase : public ScreenTest, public ::testing::WithParamInterface<Damage> {
 protected:
  // Every box since the given count is an error box with a message of its own.
  void ExpectOnlyErrorsSince(size_t first) const {
    for (size_t i = first; i < boxes.Requests().size(); ++i) {
      const auto& box = boxes.Requests()[i];
      EXPECT_EQ(box.caption, "Errore") << box.text;
      EXPECT_FALSE(box.text.empty());
    }
  }
};

TEST_P(DamagedDatabase, EveryScreenReportsItAndARestoreBringsTheProgramBack) {
  const fs::path database(DatabasePath);
  const std::string good = ReadFileBytes(database);
  const std::string damaged = GetParam().make(good);
  WriteFileBytes(database, damaged);

  std::unique_ptr<MyApp::FormGrid> main;
  ASSERT_TRUE(OpenMainWindow(main, "Prova"));
  EXPECT_EQ(main->grid->rowCount, 25);

  size_t seen = boxes.Requests().size();
  ClickTool(*main, main->openButton.get());
  ASSERT_GT(boxes.Requests().size(), seen);
  EXPECT_EQ(LastBox()->text, "Errore durante la lettura delle targhe.");
  EXPECT_FALSE(main->vehicleSelection);

  seen = boxes.Requests().size();
  ClickTool(*main, main->newButton.get());
  ASSERT_TRUE(ConfirmVehicleEditor(*main, "DANNO01", "", "1000"));
  EXPECT_GT(boxes.Requests().size(), seen);
  ExpectOnlyErrorsSince(seen);
  EXPECT_FALSE(IsWindowVisible(main->grid->window));
  EXPECT_EQ(main->GetTextAnsi(), "Prova");

  seen = boxes.Requests().size();
  ClickTool(*main, main->optionsButton.get());
  ASSERT_TRUE(main->catalogueEditor);
  EXPECT_TRUE(main->catalogueEditor->catalogue.empty());
  ExpectOnlyErrorsSince(seen);
  main->catalogueEditor.reset();
  EXPECT_EQ(ReadFileBytes(database), damaged) << "a failed action changed the file";

  // A good backup restored over it: the damaged file is kept beside it, untouched.
  const fs::path backupFolder = root / "chiavetta";
  fs::create_directories(backupFolder);
  WriteFileBytes(backupFolder / "TorvaneBackup.dat", good);
  auto previous = LumoUtility::SetFolderChooser(
      [&](const std::string&, HWND) { return backupFolder.wstring(); });
  boxes.QueueAnswer(IDYES);
  ChooseMenu(*main, main->restoreItem.get());
  LumoUtility::SetFolderChooser(std::move(previous));
  EXPECT_EQ(LastBox()->text, "Ripristino del backup effettuato correttamente.");
  EXPECT_EQ(ReadFileBytes(database), good);
  EXPECT_EQ(ReadFileBytes(fs::path(DatabasePath + L".000")), damaged);

  seen = boxes.Requests().size();
  boxes.QueueAnswer(IDNO);
  ClickTool(*main, main->openButton.get());
  ASSERT_EQ(boxes.Requests().size(), seen + 1);
  EXPECT_EQ(LastBox()->text,
            "Non sono presenti veicoli in archivio. Si desidera inserire un nuovo veicolo?");
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedDatabase, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           return std::string(info.param.name);
                         });

// A real click of the mouse at the centre of a toolbar button, and the time to handle it.
void ClickWithMouse(HWND toolBar, int buttonId) {
  RECT bounds{};
  SendMessageW(toolBar, TB_GETRECT, buttonId, reinterpret_cast<LPARAM>(&bounds));
  POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
  ClientToScreen(toolBar, &centre);
  SetCursorPos(centre.x, centre.y);
  PumpMessagesFor(std::chrono::milliseconds(50));
  for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = flag;
    SendInput(1, &press, sizeof(INPUT));
    PumpMessagesFor(std::chrono::milliseconds(150));
  }
  PumpMessagesFor(std::chrono::milliseconds(250));
}

std::string ClassUnderCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  wchar_t name[64] = {};
  GetClassNameW(WindowFromPoint(cursor), name, 64);
  return LumoUtility::NarrowText(name) + " at " + std::to_string(cursor.x) + "," +
         std::to_string(cursor.y);
}

using OwnedFormOverDamagedDatabase = ScreenTest;

// The catalogue editor reports the unreadable catalogue while its window is being made; a
// second click on "Opzioni" meanwhile must find the main window already waiting on it.
TEST_F(OwnedFormOverDamagedDatabase, TheOwnerRefusesClicksWhileTheEditorReportsTheError) {
  WriteFileBytes(fs::path(DatabasePath), TextFile(""));
  std::unique_ptr<MyApp::FormGrid> main;
  ASSERT_TRUE(OpenMainWindow(main, "Prova"));
  // In front and active, so that the first click is not spent on activating it.
  SetWindowPos(main->window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(main->window);
  PumpMessagesFor(std::chrono::milliseconds(100));
  HWND toolBar = main->toolBar->window;
  const int options = main->optionsButton->id;

  const size_t seen = boxes.Requests().size();
  bool ownerEnabledDuringBox = true;
  boxes.QueueAnswer(IDOK, [&] {
    ownerEnabledDuringBox = IsWindowEnabled(main->window) != FALSE;
    ClickWithMouse(toolBar, options);
  });
  ClickWithMouse(toolBar, options);
  ASSERT_TRUE(main->catalogueEditor)
      << "the mouse click did not reach the toolbar; it hit " << ClassUnderCursor();
  EXPECT_EQ(boxes.Requests().size(), seen + 1) << "a second editor was opened";
  EXPECT_FALSE(ownerEnabledDuringBox);
  EXPECT_FALSE(IsWindowEnabled(main->window));
  EXPECT_EQ(main->companion, main->catalogueEditor.get());

  HWND editor = main->catalogueEditor->window;
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitGone(editor));
  EXPECT_TRUE(IsWindowEnabled(main->window));
  EXPECT_EQ(main->companion, nullptr);
}

}  // namespace
