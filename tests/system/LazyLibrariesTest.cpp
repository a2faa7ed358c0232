// The lazily loaded system libraries, called for real: each wrapper must find its export
// and pass its arguments and result through unchanged.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/ComDlg32.h"
#include "system/Ole32.h"
#include "system/OleAut32.h"
#include "system/Shell32.h"

namespace {

// The shell's link object: registered in every Windows and Wine.
const CLSID kShellLink = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

TEST(LazyLibraries, NotLoadedBeforeTheFirstCall) {
  for (const wchar_t* name : {L"ole32.dll", L"oleaut32.dll", L"shell32.dll", L"comdlg32.dll"}) {
    EXPECT_EQ(GetModuleHandleW(name), nullptr) << name;
  }
  EXPECT_FALSE(ComDlg32::Library().Loaded());
}

TEST(LazyLibraries, ComCallsReachOle32) {
  ASSERT_TRUE(SUCCEEDED(Ole32::CoInitialize(nullptr)));
  CLSID found{};
  EXPECT_EQ(Ole32::CLSIDFromProgID(L"Nessun.ProgrammaRegistrato", &found), CO_E_CLASSSTRING);
  IUnknown* link = nullptr;
  ASSERT_EQ(Ole32::CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, kUnknown,
                                    reinterpret_cast<void**>(&link)),
            S_OK);
  EXPECT_EQ(Ole32::OleRun(link), S_OK);
  link->Release();
  Ole32::CoTaskMemFree(nullptr);
  Ole32::CoUninitialize();
  EXPECT_TRUE(Ole32::Library().Loaded());
  EXPECT_EQ(Ole32::Library().Missing(), "");
}

TEST(LazyLibraries, StringsAndVariantsReachOleAut32) {
  BSTR text = OleAut32::SysAllocString(L"manutenzione");
  BSTR part = OleAut32::SysAllocStringLen(L"manutenzione", 5);
  EXPECT_EQ(OleAut32::SysStringLen(text), 12u);
  EXPECT_EQ(std::wstring(part, OleAut32::SysStringLen(part)), L"manut");
  OleAut32::SysFreeString(part);
  OleAut32::SysFreeString(text);

  VARIANT number;
  VARIANT shown;
  OleAut32::VariantInit(&number);
  OleAut32::VariantInit(&shown);
  number.vt = VT_I4;
  number.lVal = 1250;
  ASSERT_EQ(OleAut32::VariantChangeType(&shown, &number, 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::wstring(shown.bstrVal), L"1250");
  EXPECT_EQ(OleAut32::VariantClear(&shown), S_OK);
  EXPECT_EQ(shown.vt, VT_EMPTY);
  IErrorInfo* info = nullptr;
  EXPECT_EQ(OleAut32::GetErrorInfo(0, &info), S_FALSE);
  EXPECT_TRUE(OleAut32::Library().Loaded());
  EXPECT_EQ(OleAut32::Library().Missing(), "");
}

TEST(LazyLibraries, ShellCallsReachShell32) {
  wchar_t folder[MAX_PATH] = {};
  EXPECT_EQ(Shell32::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder), S_OK);
  EXPECT_NE(GetFileAttributesW(folder), INVALID_FILE_ATTRIBUTES);
  EXPECT_LE(reinterpret_cast<INT_PTR>(
                Shell32::ShellExecuteW(nullptr, L"open", L"C:\\no.txt", nullptr, nullptr, SW_SHOW)),
            32);
  // The dialogs and SHGetPathFromIDListW: the shell and save-dialog tests.
  EXPECT_TRUE(Shell32::Library().Loaded());
  EXPECT_EQ(Shell32::Library().Missing(), "");
}
