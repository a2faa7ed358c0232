#include "toolkit/FontSpec.h"

#include <utility>

#include "toolkit/TextEncoding.h"

namespace LumoUtility {

FontSpec::FontSpec() : faceName(L"System") {}

FontSpec::FontSpec(std::wstring face, int fontHeight)
    : faceName(std::move(face)), height(fontHeight) {}

FontSpec::FontSpec(const std::string& face, int fontHeight)
    : faceName(WidenText(face)), height(fontHeight) {}

FontSpec::~FontSpec() {
  if (handle) DeleteObject(handle);
}

HFONT CreateFont(FontSpec& spec) {
  if (spec.handle) return spec.handle;
  spec.handle = ::CreateFontW(spec.height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, spec.italic,
                              spec.underline, FALSE, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                              CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              spec.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH,
                              spec.faceName.c_str());
  return spec.handle;
}

}  // namespace LumoUtility
