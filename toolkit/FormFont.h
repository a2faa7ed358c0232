#pragma once
#include <string>

namespace LumoUtility {

// The face and height the forms' bold font is made with.
struct FormFontChoice {
  std::wstring face;
  int height;
};

// kFormFontFace (toolkit/Font.h) where that face is installed, as on Windows; where it is
// not (Wine without Windows' fonts) the face the font mapper puts in its place, named
// outright. Either at the largest height up to kFormFontHeight at which the forms'
// tightest texts fit the room their fixed sizes give them, measured on the screen, also
// when drawn without anti-aliasing: no text of a form is ever cut. Decided once per
// process.
const FormFontChoice& FormFont();

}  // namespace LumoUtility
