// Files the engine cannot read are refused with an error that names the reason.
#include <gtest/gtest.h>

#include <cstring>

#include "data/jet/Database.h"
#include "data/jet/Rc4.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

namespace H = Jet::Format::Header;

// Opens the image and returns the refusal (kind and message); fails the test if it opens.
Jet::JetError Refusal(const std::vector<std::uint8_t>& bytes) {
  try {
    OpenImage(bytes);
  } catch (const Jet::JetError& error) {
    return error;
  }
  ADD_FAILURE() << "the file was accepted";
  return Jet::JetError(Jet::JetErrorKind::kCorrupt, "");
}

// Changes plain header bytes inside the obfuscated region of page 0.
void PatchPlainHeader(std::vector<std::uint8_t>& bytes, std::size_t offset,
                      const std::vector<std::uint8_t>& plain) {
  std::uint8_t* region = bytes.data() + H::kObfuscatedStart;
  Jet::ApplyRc4(H::kRc4Key, sizeof H::kRc4Key, region, H::kObfuscatedSize);
  std::memcpy(bytes.data() + offset, plain.data(), plain.size());
  Jet::ApplyRc4(H::kRc4Key, sizeof H::kRc4Key, region, H::kObfuscatedSize);
}

std::vector<std::uint8_t> Sample() { return ReadSampleBytes("autonumber_pk_v2000.mdb"); }

TEST(RefusedFiles, Access97Jet3) {
  auto bytes = Sample();
  bytes[H::kVersion] = H::kVersionJet3;
  Jet::JetError error = Refusal(bytes);
  EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kUnsupportedVersion);
  EXPECT_NE(std::string(error.what()).find("Access 97"), std::string::npos) << error.what();
}

TEST(RefusedFiles, Access2007AndLaterAccdb) {
  auto bytes = Sample();
  std::memcpy(bytes.data() + H::kEngineName, H::kAceEngineName, sizeof H::kAceEngineName);
  bytes[H::kVersion] = 0x02;
  Jet::JetError error = Refusal(bytes);
  EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kUnsupportedVersion);
  EXPECT_NE(std::string(error.what()).find(".accdb"), std::string::npos) << error.what();
}

TEST(RefusedFiles, UnknownJetVersionAndMsisam) {
  auto bytes = Sample();
  bytes[H::kVersion] = 0x07;
  EXPECT_EQ(Refusal(bytes).Kind(), Jet::JetErrorKind::kUnsupportedVersion);
  bytes = Sample();
  std::memcpy(bytes.data() + H::kEngineName, H::kMsisamEngineName, sizeof H::kMsisamEngineName);
  EXPECT_NE(std::string(Refusal(bytes).what()).find("MSISAM"), std::string::npos);
}

TEST(RefusedFiles, EncryptedDatabase) {
  auto bytes = Sample();
  PatchPlainHeader(bytes, H::kDatabaseKey, {0x12, 0x34, 0x56, 0x78});
  Jet::JetError error = Refusal(bytes);
  EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kEncrypted);
  EXPECT_NE(std::string(error.what()).find("encrypted"), std::string::npos);
}

TEST(RefusedFiles, PasswordProtectedDatabase) {
  auto bytes = Sample();
  // "pw" XORed with the mask of the creation date; the rest of the mask left as it is.
  std::vector<std::uint8_t> page(bytes.begin(), bytes.begin() + 4096);
  Jet::ApplyRc4(H::kRc4Key, sizeof H::kRc4Key, page.data() + H::kObfuscatedStart,
                H::kObfuscatedSize);
  std::vector<std::uint8_t> password(page.begin() + H::kPassword, page.begin() + H::kPassword + 4);
  password[0] ^= 'p';
  password[2] ^= 'w';
  PatchPlainHeader(bytes, H::kPassword, password);
  Jet::JetError error = Refusal(bytes);
  EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kPasswordProtected);
  EXPECT_NE(std::string(error.what()).find("password"), std::string::npos);
}

TEST(RefusedFiles, OtherFormatsEmptyAndShortFiles) {
  EXPECT_EQ(Refusal({}).Kind(), Jet::JetErrorKind::kNotJetDatabase);
  std::string text = "PK\x03\x04 this is a zip file, not a database";
  EXPECT_EQ(Refusal(std::vector<std::uint8_t>(text.begin(), text.end())).Kind(),
            Jet::JetErrorKind::kNotJetDatabase);
  auto bytes = Sample();
  bytes.resize(100);
  EXPECT_EQ(Refusal(bytes).Kind(), Jet::JetErrorKind::kCorrupt);
  bytes = Sample();
  std::memcpy(bytes.data() + H::kEngineName, "Standard Foo DB", 16);
  EXPECT_EQ(Refusal(bytes).Kind(), Jet::JetErrorKind::kNotJetDatabase);
  EXPECT_NE(std::string(Refusal(bytes).what()).find("not an Access database"), std::string::npos);
}

TEST(RefusedFiles, MissingFileIsAFileAccessError) {
  TemporaryDirectory folder("jet-missing");
  try {
    Jet::Database::OpenFile(folder / "absent.mdb");
    FAIL() << "opened a missing file";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kFileAccess);
  }
}

TEST(FilePaths, OpensADatabaseInAFolderWithANonAsciiName) {
  TemporaryDirectory folder("jet-path");
  // "Łukasz" / "dati è.mdb", built from code points so the source's encoding does not matter.
  std::filesystem::path userFolder =
      folder.Path() / std::filesystem::path(std::u16string{0x0141, 'u', 'k', 'a', 's', 'z'});
  std::filesystem::create_directory(userFolder);
  std::filesystem::path file =
      userFolder /
      std::filesystem::path(std::u16string{'d', 'a', 't', 'i', ' ', 0x00E8, '.', 'm', 'd', 'b'});
  std::filesystem::copy_file(SamplesDirectory() / "autonumber_pk_v2000.mdb", file);
  Jet::Database database = Jet::Database::OpenFile(file);
  ASSERT_EQ(database.UserTables().size(), 1u);
  EXPECT_EQ(Jet::CountRows(database.Pages(), database.ReadTable(database.UserTables()[0])), 3u);
}

TEST(TableLookup, UnknownTableIsNotFoundAndNamesMatchWithoutCase) {
  auto bytes = Sample();
  Jet::Database database = OpenImage(bytes);
  try {
    database.ReadTable(U16("NoSuchTable"));
    FAIL();
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kNotFound);
  }
  EXPECT_EQ(database.ReadTable(U16("TABLE1")).definitionPage, 29u);
}

}  // namespace
