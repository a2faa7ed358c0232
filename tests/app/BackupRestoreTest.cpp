// Backup and restore on real database files (copies of the shipped template), driven
// through the folder chooser and message boxes as the menu commands drive them.
#include "app/BackupRestore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/FileSystem.h"
#include "data/DatabasePath.h"
#include "data/jet/Database.h"
#include "data/jet/FileShim.h"
#include "data/jet/FormatConstants.h"
#include "data/jet/WritableDatabase.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/Shell.h"
#include "toolkit/base/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x4321);
constexpr char kRestoreFailed[] = "Errore durante il ripristino";

fs::path ShippedTemplate() { return ExecutableFolder() / "filedat"; }

// Adds a vehicle, so that two databases differ in their content and bytes.
void AddVehicle(const fs::path& file, const std::u16string& plate) {
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(file);
  database.InsertRow(u"VEICOLO",
                     {Jet::Value(), Jet::Value(plate), Jet::Value(std::u16string(u"auto")),
                      Jet::Value(std::int32_t{1000}), Jet::Value()});
}

bool IsReadOnly(const fs::path& file) {
  DWORD attributes = GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

class BackupRestore : public ::testing::Test {
 protected:
  BackupRestore() {
    fs::create_directories(root_ / "dati");
    fs::create_directories(root_ / "chiavetta");
    database_ = root_ / "dati" / "dati.mdb";
    fs::copy_file(ShippedTemplate(), database_);
    DatabasePath = database_.wstring();
    previous_ = LumoUtility::SetFolderChooser([this](const std::string& title, HWND owner) {
      titles_.push_back(title);
      owners_.push_back(owner);
      return chosen_;
    });
    chosen_ = (root_ / "chiavetta").wstring();
  }
  ~BackupRestore() override {
    LumoUtility::SetFolderChooser(std::move(previous_));
    DatabasePath.clear();
  }

  const LumoUtility::MessageBoxRequest& LastBox() const { return boxes_.Requests().back(); }
  fs::path Backup() const { return root_ / "chiavetta" / "TorvaneBackup.dat"; }
  fs::path SafetyCopy(const char* suffix) const {
    return root_ / "dati" / ("dati.mdb." + std::string(suffix));
  }

  // A backup holding one more vehicle than the template.
  std::string MakeBackup() {
    fs::copy_file(ShippedTemplate(), Backup(), fs::copy_options::overwrite_existing);
    AddVehicle(Backup(), u"BACKUP1");
    return ReadFileBytes(Backup());
  }

  // One error box since `boxesBefore`, no question asked, the database as it was, no
  // safety copy.
  void ExpectRefusedBeforeAsking(std::size_t boxesBefore, const std::string& databaseBefore,
                                 const std::string& what) {
    ASSERT_EQ(boxes_.Requests().size(), boxesBefore + 1) << what;
    EXPECT_EQ(LastBox().text, kRestoreFailed) << what;
    EXPECT_EQ(LastBox().caption, "Errore") << what;
    EXPECT_EQ(LastBox().style, 0x2010u) << what;
    EXPECT_EQ(LastBox().owner, kOwner) << what;
    EXPECT_TRUE(ReadFileBytes(database_) == databaseBefore) << what;
    EXPECT_FALSE(fs::exists(SafetyCopy("000"))) << what;
  }

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
  std::string first = ReadFileBytes(database_);
  BackupDatabase(kOwner);
  EXPECT_EQ(titles_.at(0), "Seleziona dove salvare il backup");
  EXPECT_EQ(owners_.at(0), kOwner);
  EXPECT_TRUE(ReadFileBytes(Backup()) == first);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(LastBox().text, "Salvataggio del backup effettuato correttamente.");
  EXPECT_EQ(LastBox().caption, "Backup");
  EXPECT_EQ(LastBox().style, 0x2000u);
  EXPECT_EQ(LastBox().owner, kOwner);

  AddVehicle(database_, u"AB123CD");
  std::string second = ReadFileBytes(database_);
  ASSERT_NE(second, first);
  boxes_.QueueAnswer(IDNO);
  BackupDatabase(kOwner);
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(LastBox().text,
            "Nella cartella esiste gi\xE0 un backup. Si desidera sovrascrivere "
            "il backup esistente?");
  EXPECT_EQ(LastBox().caption, "Attenzione");
  EXPECT_EQ(LastBox().style, 0x2024u);
  EXPECT_TRUE(ReadFileBytes(Backup()) == first);

  boxes_.QueueAnswer(IDYES);
  BackupDatabase(kOwner);
  EXPECT_TRUE(ReadFileBytes(Backup()) == second);
  EXPECT_EQ(LastBox().caption, "Backup");
}

TEST_F(BackupRestore, CancelledChooserDoesNothing) {
  std::string before = ReadFileBytes(database_);
  chosen_.clear();
  BackupDatabase(kOwner);
  RestoreDatabase(kOwner);
  EXPECT_EQ(titles_.size(), 2u);
  EXPECT_EQ(titles_.at(1), "Seleziona dove si trova il backup");
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_TRUE(ReadFileBytes(database_) == before);
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
  std::string before = ReadFileBytes(database_);
  // A folder with other files, but none named as a backup.
  WriteFileBytes(root_ / "chiavetta" / "TorvaneBackup.txt", "no");
  RestoreDatabase(kOwner);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(LastBox().text, "File di backup non trovato. Impossibile procedere con il restore.");
  EXPECT_EQ(LastBox().caption, "Restore");
  EXPECT_EQ(LastBox().style, 0x2040u);
  EXPECT_TRUE(ReadFileBytes(database_) == before);
  EXPECT_FALSE(fs::exists(SafetyCopy("000")));
}

TEST_F(BackupRestore, RestoresKeepNumberedSafetyCopies) {
  std::string backup = MakeBackup();
  std::string original = ReadFileBytes(database_);
  boxes_.QueueAnswer(IDNO);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text,
            "Continuando come richiesto il database verr\xE0 ripristinato. Si "
            "desidera realmente procedere?");
  EXPECT_EQ(LastBox().caption, "Attenzione");
  EXPECT_TRUE(ReadFileBytes(database_) == original);
  EXPECT_FALSE(fs::exists(SafetyCopy("000")));

  std::vector<std::string> before;
  for (int round = 0; round < 3; ++round) {
    AddVehicle(database_, u"PRIMA" + std::u16string(1, static_cast<char16_t>(u'0' + round)));
    before.push_back(ReadFileBytes(database_));
    boxes_.QueueAnswer(IDYES);
    RestoreDatabase(kOwner);
    EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.");
    EXPECT_EQ(LastBox().caption, "Restore");
    EXPECT_EQ(LastBox().style, 0x2000u);
    EXPECT_TRUE(ReadFileBytes(database_) == backup);
  }
  EXPECT_TRUE(ReadFileBytes(SafetyCopy("000")) == before[0]);
  EXPECT_TRUE(ReadFileBytes(SafetyCopy("001")) == before[1]);
  EXPECT_TRUE(ReadFileBytes(SafetyCopy("002")) == before[2]);
  EXPECT_FALSE(fs::exists(SafetyCopy("003")));
}

TEST_F(BackupRestore, RefusesWhatIsNotTheProgramsDatabase) {
  std::string database = ReadFileBytes(database_);
  std::string access = ReadFileBytes(ShippedTemplate());
  namespace H = Jet::Format::Header;
  std::string access97 = access;
  access97[H::kVersion] = static_cast<char>(H::kVersionJet3);
  std::string random(64 * 1024, '\0');
  std::srand(7);
  for (char& byte : random) byte = static_cast<char>(std::rand());
  std::vector<std::pair<std::string, std::string>> sources = {
      {"random bytes", random},
      {"a text file", "TARGA;DESCRIZIONE\r\nAB123CD;Utilitaria\r\n"},
      {"an empty file", ""},
      {"an Access 97 file", access97},
      {"the template's first page only", access.substr(0, 4096)},
      {"the template cut in the middle of a page", access.substr(0, access.size() / 2 + 100)},
      {"an Access database without the program's tables",
       ReadFileBytes(SampleDatabaseFolder() / "empty_access2000.mdb")},
  };
  // Every whole-page cut that loses a page the tables use.
  for (std::size_t pages = 2; pages * 4096 < access.size(); ++pages) {
    sources.push_back({"the template cut after " + std::to_string(pages) + " pages",
                       access.substr(0, pages * 4096)});
  }
  for (const auto& [what, bytes] : sources) {
    std::size_t boxesBefore = boxes_.Requests().size();
    WriteFileBytes(Backup(), bytes);
    RestoreDatabase(kOwner);
    ExpectRefusedBeforeAsking(boxesBefore, database, what);
  }
}

TEST_F(BackupRestore, WhatWasCheckedIsWhatIsRestored) {
  std::string backup = MakeBackup();
  // The stick is swapped, or pulled out, while the question is on screen: the file checked
  // before asking is the one restored, read once.
  boxes_.QueueAnswer(IDYES, [&] {
    WriteFileBytes(Backup(), ReadFileBytes(ShippedTemplate()).substr(0, 3 * 4096));
  });
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.");
  EXPECT_TRUE(ReadFileBytes(database_) == backup);
  boxes_.QueueAnswer(IDYES, [&] { fs::remove(Backup()); });
  WriteFileBytes(Backup(), backup);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.");
  EXPECT_TRUE(ReadFileBytes(database_) == backup);
}

// Windows refuses to open a file the way CopyFileW opens its source (read access, sharing
// read and delete) while another handle has it open for writing, as the program's writer
// lock does; Wine's file server enforces that too. Backup and restore never copy the file
// by name, so they work meanwhile.
TEST_F(BackupRestore, BackupAndRestoreWorkWhileTheDatabaseIsHeldOpenForWriting) {
  std::string backup = MakeBackup();
  Jet::RawFile held(database_, Jet::RawFile::Mode::kReadWrite);
  for (bool locked : {false, true}) {
    SetLastError(0);
    HANDLE copySource =
        CreateFileW(database_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(copySource, INVALID_HANDLE_VALUE) << "locked: " << locked;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (copySource != INVALID_HANDLE_VALUE) CloseHandle(copySource);
    if (!locked) {
      ASSERT_TRUE(held.TryLock(true));
    }
  }
  held.Unlock();

  std::string before = ReadFileBytes(database_);
  fs::remove(Backup());
  BackupDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Salvataggio del backup effettuato correttamente.");
  EXPECT_TRUE(ReadFileBytes(Backup()) == before);
  WriteFileBytes(Backup(), backup);
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.");
  EXPECT_TRUE(ReadFileBytes(database_) == backup);
  EXPECT_TRUE(ReadFileBytes(SafetyCopy("000")) == before);
}

// A database marked read-only, here also held by another program that denies writing
// (Wine, run as root, lets a read-only file be opened for writing; Windows does not).
TEST_F(BackupRestore, AReadOnlyDatabaseIsBackedUpAndNeverRestoredOver) {
  MakeBackup();
  std::string before = ReadFileBytes(database_);
  ASSERT_TRUE(SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE reader = CreateFileW(database_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  fs::remove(Backup());
  BackupDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Salvataggio del backup effettuato correttamente.");
  EXPECT_TRUE(ReadFileBytes(Backup()) == before);
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, kRestoreFailed);
  CloseHandle(reader);
  SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(ReadFileBytes(database_) == before);
  EXPECT_FALSE(fs::exists(SafetyCopy("000")));
}

// The restore's writes fail half-way and the old content cannot be put back at once: the
// message names the safety copy, and the next open rolls the database back.
TEST_F(BackupRestore, ARestoreThatCannotPutTheOldDatabaseBackNamesTheSafetyCopy) {
  MakeBackup();
  std::string before = ReadFileBytes(database_);
  int writes = 0;
  Jet::SetFileFaultHook([&](const std::string& step) {
    bool database =
        step.find("in dati.mdb") != std::string::npos && step.find("journal") == std::string::npos;
    if (step.rfind("write", 0) == 0 && database) ++writes;
    return writes >= 2 ? Jet::FaultAction::kStop : Jet::FaultAction::kProceed;
  });
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  Jet::SetFileFaultHook(nullptr);
  EXPECT_EQ(LastBox().text, std::string(kRestoreFailed) +
                                "\n\nUna copia del database precedente \xE8 nel file:\n" +
                                LumoUtility::NarrowText(SafetyCopy("000").wstring()));
  EXPECT_EQ(LastBox().caption, "Errore");
  EXPECT_TRUE(ReadFileBytes(SafetyCopy("000")) == before);
  Jet::Database::OpenFile(database_);
  EXPECT_TRUE(ReadFileBytes(database_) == before);
}

TEST_F(BackupRestore, FailedSafetyCopyLeavesTheDatabaseAlone) {
  MakeBackup();
  // CTest prepares a folder where the safety copy's temporary file is a dangling link: the
  // name looks free, yet no file can be created there.
  const wchar_t* blocked = _wgetenv(L"TORVANE_TEST_BLOCKED_SAFETY");
  if (!blocked && RunFromTestKit()) GTEST_SKIP() << "needs the dangling link CTest makes on Linux";
  ASSERT_NE(blocked, nullptr) << "run through CTest, which prepares the blocked folder";
  fs::path database = fs::path(blocked) / "dati.mdb";
  fs::copy_file(ShippedTemplate(), database, fs::copy_options::overwrite_existing);
  DatabasePath = database.wstring();
  std::string before = ReadFileBytes(database);
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, kRestoreFailed);
  EXPECT_EQ(LastBox().caption, "Errore");
  EXPECT_TRUE(ReadFileBytes(database) == before);

  // No database at all: nothing to save, and nothing appears.
  DatabasePath = database_.wstring();
  fs::remove(database_);
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, kRestoreFailed);
  EXPECT_FALSE(fs::exists(database_));
}

TEST_F(BackupRestore, ReadOnlyBackupRestoresToAWritableDatabase) {
  std::string backup = MakeBackup();
  ASSERT_TRUE(SetFileAttributesW(Backup().c_str(), FILE_ATTRIBUTE_READONLY));
  for (int round = 0; round < 2; ++round) {
    boxes_.QueueAnswer(IDYES);
    RestoreDatabase(kOwner);
    EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.") << round;
    EXPECT_TRUE(ReadFileBytes(database_) == backup);
    EXPECT_FALSE(IsReadOnly(database_));
    EXPECT_TRUE(IsReadOnly(Backup()));  // the backup itself is left as it was
  }
  EXPECT_NO_THROW(AddVehicle(database_, u"DOPO"));

  // Windows' CopyFileW carries the bit over onto an existing file too; Wine's only onto a
  // new one, so that case is what shows the bit being cleared here.
  fs::path fresh = root_ / "dati" / "nuovo.mdb";
  ASSERT_TRUE(CopyFileW(Backup().c_str(), fresh.c_str(), TRUE));
  ASSERT_TRUE(IsReadOnly(fresh));
  DWORD attributes = GetFileAttributesW(fresh.c_str());
  EXPECT_TRUE(ClearReadOnly(fresh.wstring()));
  EXPECT_EQ(GetFileAttributesW(fresh.c_str()), attributes & ~FILE_ATTRIBUTE_READONLY);
  EXPECT_NO_THROW(AddVehicle(fresh, u"DOPO"));
  SetFileAttributesW(Backup().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(BackupRestore, FoldersOutsideTheCodePage) {
  fs::path folder = root_ / L"\u0141ukasz \u4E2D";
  fs::create_directories(folder);
  chosen_ = folder.wstring();
  std::string saved = ReadFileBytes(database_);
  BackupDatabase(kOwner);
  EXPECT_TRUE(ReadFileBytes(folder / "TorvaneBackup.dat") == saved);
  AddVehicle(database_, u"CAMBIATO");
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(kOwner);
  EXPECT_EQ(LastBox().text, "Ripristino del backup effettuato correttamente.");
  EXPECT_TRUE(ReadFileBytes(database_) == saved);
}
