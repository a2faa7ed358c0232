#include "app/BackupRestore.h"

#include <gtest/gtest.h>

#include "app/DatabasePath.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"
#include "toolkit/Shell.h"

namespace fs = std::filesystem;

namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x4321);

class BackupRestore : public ::testing::Test {
 protected:
  BackupRestore() {
    fs::create_directories(root_ / "dati");
    fs::create_directories(root_ / "chiavetta");
    database_ = root_ / "dati" / "dati.mdb";
    WriteFileBytes(database_, "database 1");
    DatabasePath = database_.wstring();
    previous_ = LumoUtility::SetFolderChooser([this](const std::string& title, HWND owner) {
      titles_.push_back(title);
      owners_.push_back(owner);
      return chosen_;
    });
    chosen_ = (root_ / "chiavetta").wstring();
  }
  ~BackupRestore() override { LumoUtility::SetFolderChooser(std::move(previous_)); }

  const LumoUtility::MessageBoxRequest& LastBox() const { return boxes_.Requests().back(); }

  TemporaryDirectory root_{"backup"};
  fs::path database_;
  std::wstring chosen_;
  std::vector<std::string> titles_;
  std::vector<HWND> owners_;
  MessageBoxRecorder boxes_;
  LumoUtility::FolderChooser previous_;
};

}  // namespace

TEST_F(BackupRestore, BackupCopiesTheDatabaseAndAsksBeforeOverwriting) {
  BackupDatabase(kOwner);
  EXPECT_EQ(titles_.at(0), "Seleziona dove salvare il backup");
  EXPECT_EQ(owners_.at(0), kOwner);
  fs::path backup = root_ / "chiavetta" / "TorvaneBackup.dat";
  EXPECT_EQ(ReadFileBytes(backup), "database 1");
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(LastBox().text, "Salvataggio del backup effettuato correttamente.");
  EXPECT_EQ(LastBox().caption, "Backup");
  EXPECT_EQ(LastBox().style, 0x2000u);
  EXPECT_EQ(LastBox().owner, kOwner);

  WriteFileBytes(database_, "database 2");
  boxes_.QueueAnswer(IDNO);
  BackupDatabase(kOwner);
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(LastBox().text, "Nella cartella esiste gi\xE0 un backup. Si desidera sovrascrivere "
                            "il backup esistente?");
  EXPECT_EQ(LastBox().caption, "Attenzione");
  EXPECT_EQ(LastBox().style, 0x2024u);
  EXPECT_EQ(ReadFileBytes(backup), "database 1");

  boxes_.QueueAnswer(IDYES);
  BackupDatabase(kOwner);
  EXPECT_EQ(ReadFileBytes(backup), "database 2");
  EXPECT_EQ(LastBox().caption, "Backup");
}

TEST_F(BackupRestore, CancelledChooserDoesNothing) {
  chosen_.clear();
  BackupDatabase(kOwner);
  RestoreDatabase(kOwner);
  EXPECT_EQ(titles_.size(), 2u);
  EXPECT_EQ(titles_.at(1), "Seleziona dove si trova il backup");
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_EQ(ReadFileBytes(database_), "database 1");
}

TEST_F(BackupRestore, BackupIntoAMissingFolderReportsTheFailure) {
  chosen_ = (root_ / "non-esiste").wstring();
  BackupDatabase(kOwner);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(LastBox().text, "Errore durante il backup");
  EXPECT_EQ(LastBox().caption, "Errore");
  EXPECT_EQ(LastBox().style, 0x2010u);
}

TEST_F(BackupRestore, RestoreWithoutABackupOnlyInforms) {
  RestoreDatabase(kOwner);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(LastBox().text, "File di backup non trovato. Impossibile procedere con il restore.");
  EXPECT_EQ(LastBox().caption, "Restore");
  EXPECT_EQ(LastBox().style, 0x2040u);
  EXPECT_EQ(ReadFileBytes(database_), "database 1");
  EXPECT_FALSE(fs::exists(root_ / "dati" / "dati.mdb.000"));
}

TEST_F(BackupRestore, RestoresKeepNumberedSafetyCopies) {
  WriteFileBytes(root_ / "chiavetta" / "TorvaneBackup.dat", std::string("\x00\xFFqualsiasi", 11));
  boxes_.QueueAnswer(IDNO);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Continuando come richiesto il database verr\xE0 ripristinato. Si "
                            "desidera realmente procedere?");
  EXPECT_EQ(LastBox().caption, "Attenzione");
  EXPECT_EQ(ReadFileBytes(database_), "database 1");
  EXPECT_FALSE(fs::exists(root_ / "dati" / "dati.mdb.000"));

  for (int round = 0; round < 3; ++round) {
    WriteFileBytes(database_, "prima del ripristino " + std::to_string(round));
    boxes_.QueueAnswer(IDYES);
    RestoreDatabase(kOwner);
    EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.");
    EXPECT_EQ(LastBox().caption, "Restore");
    EXPECT_EQ(LastBox().style, 0x2000u);
    EXPECT_EQ(ReadFileBytes(database_), std::string("\x00\xFFqualsiasi", 11));
  }
  EXPECT_EQ(ReadFileBytes(root_ / "dati" / "dati.mdb.000"), "prima del ripristino 0");
  EXPECT_EQ(ReadFileBytes(root_ / "dati" / "dati.mdb.001"), "prima del ripristino 1");
  EXPECT_EQ(ReadFileBytes(root_ / "dati" / "dati.mdb.002"), "prima del ripristino 2");
}

TEST_F(BackupRestore, FailedSafetyCopyLeavesTheDatabaseAlone) {
  WriteFileBytes(root_ / "chiavetta" / "TorvaneBackup.dat", "backup");
  fs::remove(database_);  // nothing to save: the safety copy cannot be made
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Errore durante il ripristino");
  EXPECT_EQ(LastBox().caption, "Errore");
  EXPECT_FALSE(fs::exists(database_));
}

TEST_F(BackupRestore, FoldersOutsideTheCodePage) {
  fs::path folder = root_ / L"\u0141ukasz \u4E2D";
  fs::create_directories(folder);
  chosen_ = folder.wstring();
  BackupDatabase(kOwner);
  EXPECT_EQ(ReadFileBytes(folder / "TorvaneBackup.dat"), "database 1");
  WriteFileBytes(database_, "changed");
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(ReadFileBytes(database_), "database 1");
}
