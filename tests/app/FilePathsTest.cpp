#include "app/FilePaths.h"

#include <gtest/gtest.h>

TEST(FilePaths, DirectoryPartTurnsSlashesIntoBackslashes) {
  EXPECT_EQ(DirectoryPart(std::string("a/b/c.txt")), "a\\b\\");
  EXPECT_EQ(FileNamePart(std::string("a/b/c.txt")), "c.txt");
  EXPECT_EQ(DirectoryPart(std::string("C:\\dati\\dati.mdb")), "C:\\dati\\");
}

TEST(FilePaths, DirectoryPartFallsBackToTheDriveColon) {
  EXPECT_EQ(DirectoryPart(std::string("c:x")), "c:");
  EXPECT_EQ(FileNamePart(std::string("c:x")), "x");
  EXPECT_EQ(DirectoryPart(std::string("filedat")), "");
  EXPECT_EQ(FileNamePart(std::string("filedat")), "filedat");
  EXPECT_EQ(FileNamePart(std::string("")), "");
  EXPECT_EQ(FileNamePart(std::string("dir\\")), "");
}

TEST(FilePaths, WithTrailingBackslash) {
  EXPECT_EQ(WithTrailingBackslash(std::string("C:")), "C:\\");
  EXPECT_EQ(WithTrailingBackslash(std::string("a/")), "a/");
  EXPECT_EQ(WithTrailingBackslash(std::string("a\\")), "a\\");
  EXPECT_EQ(WithTrailingBackslash(std::string("")), "");
}

TEST(FilePaths, WideFormsKeepCharactersOutsideTheCodePage) {
  const std::wstring path = L"C:/Users/\u0141ukasz/AppData/dati.mdb";
  EXPECT_EQ(DirectoryPart(path), L"C:\\Users\\\u0141ukasz\\AppData\\");
  EXPECT_EQ(FileNamePart(path), L"dati.mdb");
  EXPECT_EQ(WithTrailingBackslash(std::wstring(L"C:\\Users\\\u0141ukasz")),
            L"C:\\Users\\\u0141ukasz\\");
}
