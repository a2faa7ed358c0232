#pragma once
#include <windows.h>

#include <string>

namespace LumoUtility {

// The face every form of the program draws its controls with (in bold) where it is
// installed, and the largest height; FormFont (toolkit/FormFont.h) gives what the forms use.
constexpr wchar_t kFormFontFace[] = L"Lucida Console";
constexpr int kFormFontHeight = 16;

// A font description; the GDI font is made on first use, cached, and deleted with the
// description. Elements only borrow a FontSpec: whoever created it deletes it, after
// the elements that use it.
class FontSpec {
 public:
  FontSpec();  // "System", height 0, no flags
  FontSpec(std::wstring face, int fontHeight);
  FontSpec(const std::string& face, int fontHeight);
  ~FontSpec();
  FontSpec(const FontSpec&) = delete;
  FontSpec& operator=(const FontSpec&) = delete;

  HFONT handle = nullptr;
  std::wstring faceName;
  int height = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool fixedPitch = false;
};

// The cached font of the description, made with CreateFontW on first call. (The Win32
// header maps this name to CreateFontW; the mapping is the same at every use.)
HFONT CreateFont(FontSpec& font);

}  // namespace LumoUtility
