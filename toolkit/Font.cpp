#include "toolkit/Font.h"

#include <utility>

#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

FontSpec::FontSpec() : faceName(L"System") {}

FontSpec::FontSpec(std::wstring face, int fontHeight)
    : faceName(std::move(face)), height(fontHeight) {}

FontSpec::FontSpec(const std::string& face, int fontHeight)
    : faceName(WidenText(face)), height(fontHeight) {}

FontSpec::~FontSpec() {
  if (handle) DeleteObject(handle);
}

HFONT CreateFont(FontSpec& font) {
  if (font.handle) return font.handle;
  font.handle = ::CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                              font.underline, FALSE, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                              CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              font.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH, font.faceName.c_str());
  return font.handle;
}

}  // namespace LumoUtility
