#include "toolkit/FormFont.h"

#include <windows.h>

#include <cstddef>
#include <cwchar>
#include <vector>

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

// Wine draws a disabled button's text without anti-aliasing, in a monochrome bitmap as wide
// as the text's measured extent, and at some heights its glyphs then spread wider than
// that (DejaVu Sans bold at 13: "Descrizione:" measures 76 pixels and inks 78), which cuts
// the text's end. Drawn the same way here, the text must stay within its extent.
bool MonochromeInkWithin(HDC screen, HFONT font, const wchar_t* text, int extent) {
  const int width = 2 * extent + 16;
  const int height = 2 * kFormFontHeight;
  MemoryDC memory(screen);
  OwnedBitmap bitmap(CreateBitmap(width, height, 1, 1, nullptr));
  if (!memory.Get() || !bitmap) return true;
  ObjectSelection bitmapSelection(memory.Get(), bitmap.Get());
  ObjectSelection fontSelection(memory.Get(), font);
  PatBlt(memory.Get(), 0, 0, width, height, WHITENESS);
  SetTextColor(memory.Get(), RGB(0, 0, 0));
  SetBkMode(memory.Get(), TRANSPARENT);
  TextOutW(memory.Get(), 0, 0, text, static_cast<int>(wcslen(text)));
  // Monochrome bitmap rows come in whole 16-bit words; a clear bit is ink.
  const int stride = (width + 15) / 16 * 2;
  std::vector<unsigned char> bits(static_cast<std::size_t>(stride) * height);
  if (GetBitmapBits(bitmap.Get(), static_cast<LONG>(bits.size()), bits.data()) == 0) return true;
  for (int y = 0; y < height; ++y) {
    for (int x = extent; x < width; ++x) {
      if (!(bits[y * stride + x / 8] & (0x80 >> (x % 8)))) return false;
    }
  }
  return true;
}

bool TightTextsFit(HDC dc, const std::wstring& face, int height) {
  FontSpec candidate(face, height);
  candidate.bold = true;
  HFONT font = CreateFont(candidate);
  ObjectSelection selection(dc, font);
  for (const TightText& tight : kTightTexts) {
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, tight.text, static_cast<int>(wcslen(tight.text)), &extent) ||
        extent.cx > tight.width || !MonochromeInkWithin(dc, font, tight.text, extent.cx)) {
      return false;
    }
  }
  return true;
}

FormFontChoice ChooseFormFont() {
  WindowDC screen(nullptr);
  if (!screen.Get()) return {kFormFontFace, kFormFontHeight};
  // Measured for Lucida Console too: a fixed-pitch face 0.6 em wide, bold, at height 16
  // needs some 120 pixels for "Descrizione:", which has 80.
  const std::wstring face = FaceInstalled(screen.Get(), kFormFontFace) ? std::wstring(kFormFontFace)
                                                                       : MappedFace(screen.Get());
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
