#include "toolkit/FormFont.h"

#include <windows.h>

#include <cwchar>

#include "toolkit/Font.h"
#include "toolkit/GdiObjects.h"

namespace LumoUtility {
namespace {

// Where the forms' fixed sizes leave least room for text: the label "Descrizione:" is 80
// pixels wide, and of a date picker's 110 pixels a date keeps 73 (DTM_GETIDEALSIZE under
// Wine gives the check box, the drop-down button and the margins 37).
struct TightText {
  const wchar_t* text;
  int width;
};
constexpr TightText kTightTexts[] = {{L"Descrizione:", 80}, {L"00/00/0000", 73}};
constexpr int kSmallestHeight = 8;

struct FaceSearch {
  const wchar_t* face;
  bool found;
};

int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM search) {
  // Only the name itself counts, never a substitute listed under another name.
  auto* wanted = reinterpret_cast<FaceSearch*>(search);
  wanted->found = _wcsicmp(font->lfFaceName, wanted->face) == 0;
  return wanted->found ? 0 : 1;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW family{};
  family.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(family.lfFaceName, face, LF_FACESIZE - 1);
  FaceSearch search{face, false};
  EnumFontFamiliesExW(dc, &family, NoteFace, reinterpret_cast<LPARAM>(&search), 0);
  return search.found;
}

// The face the font mapper gives for the form font, read back from the device context.
std::wstring MappedFace(HDC dc) {
  FontSpec wanted(std::wstring(kFormFontFace), kFormFontHeight);
  wanted.bold = true;
  ObjectSelection selection(dc, CreateFont(wanted));
  wchar_t face[LF_FACESIZE] = {};
  if (GetTextFaceW(dc, LF_FACESIZE, face) <= 0) return kFormFontFace;
  return face;
}

bool TightTextsFit(HDC dc, const std::wstring& face, int height) {
  FontSpec candidate(face, height);
  candidate.bold = true;
  ObjectSelection selection(dc, CreateFont(candidate));
  for (const TightText& tight : kTightTexts) {
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, tight.text, static_cast<int>(wcslen(tight.text)), &extent) ||
        extent.cx > tight.width) {
      return false;
    }
  }
  return true;
}

FormFontChoice ChooseFormFont() {
  WindowDC screen(nullptr);
  if (!screen.Get() || FaceInstalled(screen.Get(), kFormFontFace)) {
    return {kFormFontFace, kFormFontHeight};
  }
  const std::wstring face = MappedFace(screen.Get());
  int height = kFormFontHeight;
  while (height > kSmallestHeight && !TightTextsFit(screen.Get(), face, height)) --height;
  return {face, height};
}

}  // namespace

const FormFontChoice& FormFont() {
  static const FormFontChoice choice = ChooseFormFont();
  return choice;
}

}  // namespace LumoUtility
