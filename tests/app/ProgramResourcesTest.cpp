// The pictures and version information built into the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/WindowsTestSupport.h"
#include "toolkit/ResourceIds.h"

namespace {

// The program loaded for its resources only.
class ProgramResources : public ::testing::Test {
 protected:
  ProgramResources()
      : module_(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramResources() override {
    if (module_) FreeLibrary(module_);
  }
  static std::wstring ProgramPath() {
    return (ExecutableFolder() / "TorvaneManutenzione.exe").wstring();
  }

  struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    COLORREF topLeft = 0;
    COLORREF centre = 0;
  };

  // Loaded the way the forms load them: as a DIB section.
  Picture LoadPicture(int id) {
    Picture picture;
    auto bitmap = static_cast<HBITMAP>(
        LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return picture;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    picture.bitsPerPixel = info.bmBitsPixel;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    picture.topLeft = GetPixel(dc, 0, 0);
    picture.centre = GetPixel(dc, info.bmWidth / 2, info.bmHeight / 2);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return picture;
  }

  HMODULE module_;
};

}  // namespace

TEST_F(ProgramResources, BitmapsHaveTheirSizesAndColours) {
  ASSERT_NE(module_, nullptr);
  Picture inOrder = LoadPicture(kInOrderIconId);
  EXPECT_EQ(inOrder.width, 20);
  EXPECT_EQ(inOrder.height, 20);
  EXPECT_EQ(inOrder.bitsPerPixel, 8);
  EXPECT_EQ(inOrder.topLeft, RGB(0, 0, 0));  // black: drawn as transparent
  EXPECT_GT(GetGValue(inOrder.centre), 150);
  EXPECT_LT(GetRValue(inOrder.centre), 100);

  Picture due = LoadPicture(kDueIconId);
  EXPECT_EQ(due.width, 20);
  EXPECT_EQ(due.topLeft, RGB(0, 0, 0));
  EXPECT_GT(GetRValue(due.centre), 150);
  EXPECT_LT(GetGValue(due.centre), 100);

  Picture strip = LoadPicture(kToolbarStripId);
  EXPECT_EQ(strip.width, 64);
  EXPECT_EQ(strip.height, 16);
  EXPECT_EQ(strip.bitsPerPixel, 8);
  EXPECT_EQ(strip.topLeft, RGB(0xC0, 0xC0, 0xC0));  // the button face

  Picture background = LoadPicture(kBackgroundBitmapId);
  EXPECT_EQ(background.width, 800);
  EXPECT_EQ(background.height, 575);
  EXPECT_EQ(background.bitsPerPixel, 8);
}

TEST_F(ProgramResources, IconInEverySize) {
  ASSERT_NE(module_, nullptr);
  for (int size : {16, 32, 48}) {
    auto icon = static_cast<HICON>(
        LoadImageW(module_, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, size);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST_F(ProgramResources, VersionInformation) {
  std::wstring path = ProgramPath();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\041004E4\\") + name;
    if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
      return std::wstring();
    }
    return std::wstring(value);
  };
  EXPECT_EQ(text(L"ProductName"), L"Torvane Manutenzione");
  EXPECT_EQ(text(L"ProductVersion"), L"" PROGRAM_VERSION);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(HIWORD(fixed->dwProductVersionMS), PROGRAM_VERSION_MAJOR);
}
