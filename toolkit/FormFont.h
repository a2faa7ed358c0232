#pragma once
#include <string>

namespace LumoUtility {

// The face and height the forms' bold font is made with.
struct FormFontChoice {
  std::wstring face;
  int height;
};

// kFormFontFace at kFormFontHeight (toolkit/Font.h) where that face is installed, as on
// Windows. Where it is not (Wine without Windows' fonts), the font mapper would put a
// wider face in its place and the forms' fixed sizes would clip their texts: the face it
// gives is then named outright, at the largest height up to kFormFontHeight at which the
// forms' tightest texts fit the room they have, measured on the screen, also when drawn
// without anti-aliasing. Decided once per process.
const FormFontChoice& FormFont();

}  // namespace LumoUtility
