#pragma once

namespace LumoUtility {

// The program's terms of use, shown at every start (Windows-1252, lines end in CR LF as
// a multi-line edit control wants them).
const char* TermsOfUseText();

}  // namespace LumoUtility
